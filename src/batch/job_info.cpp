// kxbatch info MODEL.kxm [--json]: what a model holds, as lines or as one JSON object.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "batch/batchjobs.h"
#include "batch/batchmodel.h"
#include "catalogue/u_partfiles.h"
#include "model/MainObj.h"

namespace kx {

namespace {

struct TModelSummary {
    std::string File;
    std::string Title;
    size_t Parts = 0;
    size_t Definitions = 0;
    std::set<int> Phases;
    size_t Groups = 0;
    size_t Links = 0;
    size_t Motors = 0;
    size_t Hoses = 0;
    size_t Strips = 0;
    size_t Collisions = 0;
    std::set<std::string> Missing;
};

TModelSummary Summarize(TBatchModel& batch, const std::string& file) {
    TkxMain& model = batch.Model();
    TModelSummary s;
    s.File = file;
    s.Title = model.Information().InfModell;
    std::set<std::string> numbers;
    const TBauteilList& parts = model.Parts();
    s.Parts = parts.Count();
    for (size_t i = 0; i < parts.Count(); ++i) {
        const std::string number = parts[i].GetShortName();
        numbers.insert(number);
        s.Phases.insert(parts[i].Phase());
        if (!batch.Files().FindDef(number)) {
            s.Missing.insert(number);
        }
    }
    s.Definitions = numbers.size();
    for (const auto& group : model.Groups()) {
        s.Groups += group->Internal ? 0 : 1;
    }
    s.Links = model.KineLinks().size();
    for (const TMotorRec& motor : model.Motors().All()) {
        s.Motors += motor.PartName.empty() ? 0 : 1;
    }
    s.Hoses = model.Hoses().size();
    s.Strips = model.SemiFinishedParts().size();
    s.Collisions = model.CollisionRules().size();
    return s;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

template <class T, class F>
std::string Join(const std::set<T>& items, const char* separator, F format) {
    std::string out;
    for (const T& item : items) {
        out += (out.empty() ? "" : separator) + format(item);
    }
    return out;
}

std::string AsJson(const TModelSummary& s) {
    auto number = [](int n) { return std::to_string(n); };
    return "{\"file\": " + JsonString(s.File) + ", \"title\": " + JsonString(s.Title) +
           ", \"parts\": " + std::to_string(s.Parts) +
           ", \"definitions\": " + std::to_string(s.Definitions) + ", \"phases\": [" +
           Join(s.Phases, ", ", number) + "], \"groups\": " + std::to_string(s.Groups) +
           ", \"links\": " + std::to_string(s.Links) + ", \"motors\": " + std::to_string(s.Motors) +
           ", \"hoses\": " + std::to_string(s.Hoses) + ", \"strips\": " + std::to_string(s.Strips) +
           ", \"collisions\": " + std::to_string(s.Collisions) + ", \"missing\": [" +
           Join(s.Missing, ", ", JsonString) + "]}\n";
}

std::string AsLines(const TModelSummary& s) {
    auto number = [](int n) { return std::to_string(n); };
    auto plain = [](const std::string& t) { return t; };
    return "file: " + s.File + "\ntitle: " + s.Title + "\nparts: " + std::to_string(s.Parts) +
           "\ndefinitions: " + std::to_string(s.Definitions) +
           "\nphases: " + Join(s.Phases, " ", number) + "\ngroups: " + std::to_string(s.Groups) +
           "\nlinks: " + std::to_string(s.Links) + "\nmotors: " + std::to_string(s.Motors) +
           "\nhoses: " + std::to_string(s.Hoses) + "\nstrips: " + std::to_string(s.Strips) +
           "\ncollisions: " + std::to_string(s.Collisions) +
           "\nmissing: " + Join(s.Missing, " ", plain) + "\n";
}

}  // namespace

TBatchJob InfoJob() {
    TBatchJob job;
    job.Name = "info";
    job.Description = "Tell what a model holds: parts, phases, groups, links, hoses, strips";
    job.Setup = [](CLI::App& command) {
        struct TArgs {
            std::string Model;
            bool Json = false;
        };
        auto args = std::make_shared<TArgs>();
        command.add_option("MODEL", args->Model, "Model file (.kxm)")->required();
        command.add_flag("--json", args->Json, "One JSON object instead of lines");
        return [args]() -> TBatchExit {
            TBatchModel model;
            std::string error;
            if (!model.Load(args->Model, error)) {
                BatchError(error);
                return BatchFailed;
            }
            const TModelSummary summary = Summarize(model, args->Model);
            const std::string text = args->Json ? AsJson(summary) : AsLines(summary);
            std::fwrite(text.data(), 1, text.size(), stdout);
            return BatchDone;
        };
    };
    return job;
}

}  // namespace kx
