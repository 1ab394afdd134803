// The script engine: a fresh Python interpreter for each run, with kxd registered, the
// script's output captured and a stop request checked as it runs.
#include "scripting/pyEngine.h"

#include <pybind11/embed.h>

#include <frameobject.h>

#include "model/MainObj.h"
#include "scripting/pyContext.h"

namespace py = pybind11;

namespace kx {

void KxdModuleLinked();

namespace {

/// Where sys.stdout and sys.stderr write to during a run.
struct TOutputStream {
    const TScriptOutput* Sink = nullptr;
    bool IsError = false;
    void Write(const std::string& text) const {
        if (Sink && *Sink && !text.empty()) {
            (*Sink)(text, IsError);
        }
    }
};

TPyEngine* g_tracing = nullptr;

int TraceHook(PyObject*, PyFrameObject*, int, PyObject*) {
    if (g_tracing && !g_tracing->Tick()) {
        PyErr_SetString(PyExc_KeyboardInterrupt, "the script was stopped");
        return -1;
    }
    return 0;
}

/// The last line of the pending exception's text ("ValueError: ..."), for the caller.
std::string ErrorLine(const py::error_already_set& e) {
    std::string text = e.what();
    const size_t end = text.find('\n');
    return end == std::string::npos ? text : text.substr(0, end);
}

/// No host given: a run without windows.
TScriptHost g_nullHost;

}  // namespace

}  // namespace kx

PYBIND11_EMBEDDED_MODULE(_kxdio, m) {
    py::class_<kx::TOutputStream>(m, "Output")
        .def("write",
             [](const kx::TOutputStream& s, const std::string& text) {
                 s.Write(text);
                 return text.size();
             })
        .def("flush", [](const kx::TOutputStream&) {})
        .def_property_readonly("encoding", [](const kx::TOutputStream&) { return "utf-8"; })
        .def("isatty", [](const kx::TOutputStream&) { return false; });
}

namespace kx {

bool TPyEngine::Tick() {
    if (m_stop) {
        return false;
    }
    // The clock is read only now and then: the hook runs for every line of the script.
    if (++m_ticks % 64 != 0) {
        return true;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastPoll >= kPollInterval) {
        m_lastPoll = now;
        m_host->Poll();
    }
    return !m_stop;
}

TScriptResult TPyEngine::Run(const std::string& text, const TScriptContext& context,
                             const TScriptOutput& output, const std::string& fileName) {
    KxdModuleLinked();
    TScriptResult result;
    if (m_running || Py_IsInitialized()) {
        result.Outcome = TScriptOutcome::Unavailable;
        result.Error = "another script is running";
        return result;
    }
    if (!context.Model || !context.Scene) {
        result.Outcome = TScriptOutcome::Unavailable;
        result.Error = "there is no model to work on";
        return result;
    }
    m_running = true;
    m_stop = false;
    m_host = context.Host ? context.Host : &g_nullHost;
    m_ticks = 0;
    m_lastPoll = std::chrono::steady_clock::now();
    TPyRun run;
    run.Context = context;
    run.Host = m_host;
    SetPyRun(&run);
    TOutputStream out{&output, false};
    TOutputStream err{&output, true};
    {
        // Isolated: the user's environment variables and site folder do not change what a
        // script sees, and the program keeps its own signal handlers.
        PyConfig config;
        PyConfig_InitIsolatedConfig(&config);
        config.install_signal_handlers = 0;
        config.write_bytecode = 0;
        py::scoped_interpreter interpreter(&config, 0, nullptr, false);
        try {
            py::module_ sys = py::module_::import("sys");
            py::module_::import("_kxdio");
            sys.attr("stdout") = py::cast(&out, py::return_value_policy::reference);
            sys.attr("stderr") = py::cast(&err, py::return_value_policy::reference);
            py::module_ main = py::module_::import("__main__");
            py::dict globals = main.attr("__dict__");
            globals["__file__"] = fileName.empty() ? "<script>" : fileName;
            g_tracing = this;
            PyEval_SetTrace(TraceHook, nullptr);
            PyObject* code = Py_CompileString(
                text.c_str(), fileName.empty() ? "<script>" : fileName.c_str(), Py_file_input);
            if (!code) {
                throw py::error_already_set();
            }
            PyObject* value = PyEval_EvalCode(code, globals.ptr(), globals.ptr());
            Py_DECREF(code);
            if (!value) {
                throw py::error_already_set();
            }
            Py_DECREF(value);
        } catch (py::error_already_set& e) {
            PyEval_SetTrace(nullptr, nullptr);
            if (e.matches(PyExc_SystemExit)) {
                // sys.exit() ends the script, not the program; only an exit status other than
                // 0 or None makes the run a failure.
                const py::object code = e.value().attr("code");
                if (!code.is_none() && !(PyLong_Check(code.ptr()) && code.cast<long>() == 0)) {
                    result.Outcome = TScriptOutcome::Failed;
                    result.Error = py::str(code).cast<std::string>();
                    err.Write(result.Error + "\n");
                }
            } else {
                result.Outcome = m_stop && e.matches(PyExc_KeyboardInterrupt)
                                     ? TScriptOutcome::Stopped
                                     : TScriptOutcome::Failed;
                result.Error = ErrorLine(e);
                // The traceback goes where the script's own error output goes.
                e.restore();
                PyErr_Print();
            }
        } catch (const std::exception& e) {
            result.Outcome = TScriptOutcome::Failed;
            result.Error = e.what();
            err.Write(std::string(e.what()) + "\n");
        }
        PyEval_SetTrace(nullptr, nullptr);
        g_tracing = nullptr;
        py::module_::import("sys").attr("stdout") = py::none();
        py::module_::import("sys").attr("stderr") = py::none();
    }
    SetPyRun(nullptr);
    m_host = nullptr;
    m_running = false;
    return result;
}

}  // namespace kx
