// Part upload and publishing: the order of the steps and where they stop.
#include "catalogue/u_partpublish.h"

#include "catalogue/u_defObj.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace {

std::string Text(int key, std::string_view def) {
    return Language().GetText("PARTPACKAGE", key, def);
}

std::string Fill(std::string text, std::string_view value) {
    const size_t at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, value);
    }
    return text;
}

TPublishResult Failed(std::string message) {
    TPublishResult r;
    r.Message = std::move(message);
    return r;
}

}  // namespace

std::vector<TUploadFile> PartUploadPlan(const TPartFiles& files, std::string_view number) {
    struct TStep {
        const char* Subdir;
        const char* Ext;
        const char* Status;
    };
    static const TStep steps[] = {
        {"def", "def", "Sende DEF..."},   {"hires", "stl", "Sende HIRES..."},
        {"hires", "nrm", "Sende NRM..."}, {"lores", "stl", "Sende LORES..."},
        {"icon", "bmp", "Sende ICON..."}, {"icon/print", "jpg", "Sende PRINT..."},
    };
    std::vector<TUploadFile> plan;
    int key = 20;
    for (const TStep& s : steps) {
        const std::string status = Text(key++, s.Status);
        if (const auto local = files.FindPart(s.Subdir, number, s.Ext)) {
            plan.push_back({s.Subdir, std::string(number) + "." + s.Ext, *local, status});
        }
    }
    return plan;
}

TPublishResult UploadPart(const TPartFiles& files, std::string_view number, TPartUploadPort& port,
                          const TStatusText& status) {
    Stack().Push("TMainForm.menUploadPartClick", std::string(number));
    auto show = [&](const std::string& text) {
        if (status) {
            status(text);
        }
    };
    std::string error;
    if (!port.Connect(error)) {
        show(Text(26, "FTP beendet..."));
        return Failed(Fill(Text(10, "Die Verbindung zum Server ist fehlgeschlagen: %s"), error));
    }
    TPublishResult result;
    result.Ok = true;
    for (const TUploadFile& file : PartUploadPlan(files, number)) {
        show(file.Status);
        if (!port.Store(file, error)) {
            result = Failed(Fill(Fill(Text(11, "Die Datei %s konnte nicht gesendet werden: %s"),
                                      file.RemoteDir + "/" + file.RemoteName),
                                 error));
            break;
        }
    }
    port.Disconnect();
    show(Text(26, "FTP beendet..."));
    if (result.Ok) {
        result.Message = Text(27, "FTP-Verbindung beendet");
    }
    return result;
}

TPublishResult WritePartVersion(const TPartFiles& files, std::string_view number,
                                TPartUploadPort& port) {
    Stack().Push("TMainForm.menWriteVersionClick", std::string(number));
    const auto def = files.FindDef(number);
    const std::optional<std::string> bytes = def ? ReadFileBytes(*def) : std::nullopt;
    if (!bytes) {
        return Failed(Text(12, "Die Def-Datei konnte nicht gefunden werden"));
    }
    const int32_t version = ParseMiniDefObj(*bytes, number, CurrentCatalogueSettings()).Version;
    std::string error;
    const std::optional<std::string> reply = port.SetPartVersion(number, version, error);
    if (!reply) {
        return Failed(Fill(Text(14, "Die Versionsnummer konnte nicht gesendet werden: %s"), error));
    }
    TPublishResult result;
    result.Ok = true;
    result.Version = version;
    result.Message = *reply;
    return result;
}

TPublishResult PublishPartRevision(TPartFiles& files, std::string_view number,
                                   TPartUploadPort& port, const TStatusText& status) {
    Stack().Push("TMainForm.menIncVersionsnummerClick", std::string(number));
    // A publish that cannot reach the server leaves the user's definition as it was, so a
    // second try raises the same revision again instead of skipping one.
    const std::filesystem::path userDef = files.UserPath("def", std::string(number) + ".def");
    const std::optional<std::string> before = ReadFileBytes(userDef);
    switch (BumpDefinitionVersion(files, number)) {
        case TDefEditResult::Ok:
            break;
        case TDefEditResult::NotFound:
            return Failed(Text(12, "Die Def-Datei konnte nicht gefunden werden"));
        case TDefEditResult::NotWritten:
            return Failed(Text(13, "Die Def-Datei konnte nicht geschrieben werden"));
    }
    DefCache().Invalidate(number);
    TPublishResult upload = UploadPart(files, number, port, status);
    if (!upload.Ok) {
        std::error_code ec;
        if (before) {
            WriteFileAtomic(userDef, *before);
        } else {
            std::filesystem::remove(userDef, ec);
        }
        files.Refresh("def");
        DefCache().Invalidate(number);
        return upload;
    }
    return WritePartVersion(files, number, port);
}

}  // namespace kx
