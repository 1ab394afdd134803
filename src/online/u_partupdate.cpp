// The part update: which part files the server has that this installation lacks or holds in an
// older version, and fetching them into the per-user data folder.
#include "online/u_partupdate.h"

#include <filesystem>

#include "catalogue/u_library.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_iniex.h"
#include "foundation/u_stack.h"
#include "online/u_TWebRemote.h"
#include "online/u_webprotocol.h"

namespace kx {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string Stem(std::string_view name) {
    const size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

void AddOnce(std::vector<std::string>& list, const std::string& name) {
    for (const std::string& have : list) {
        if (Lower(have) == Lower(name)) {
            return;
        }
    }
    list.push_back(name);
}

bool Listed(const TWebRemote& web, std::string_view name) {
    for (const TWebDirData& entry : web.Directory()) {
        if (Lower(entry.Name) == Lower(name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

const std::array<TPartUpdateFolder, 5>& PartUpdateFolders() {
    static const std::array<TPartUpdateFolder, 5> folders = {{
        {"def", {".def"}},
        {"icon", {".bmp", ".png", ".jpg"}},
        {"icon/print", {".bmp", ".png", ".jpg"}},
        {"hires", {".stl", ".nrm"}},
        {"lores", {".stl"}},
    }};
    return folders;
}

bool IsPartFileName(size_t folder, std::string_view name) {
    if (folder >= PartUpdateFolders().size() || !IsSafeRemoteName(name)) {
        return false;
    }
    const std::string lower = Lower(name);
    for (std::string_view ext : PartUpdateFolders()[folder].Extensions) {
        if (lower.size() > ext.size() && EndsWith(lower, ext)) {
            return true;
        }
    }
    return false;
}

TLocalPartVersions LocalPartVersions(const std::vector<TBibData>& entries) {
    TLocalPartVersions versions;
    for (const TBibData& entry : entries) {
        versions[Lower(entry.Number)] = entry.Version;
    }
    return versions;
}

size_t TPartUpdateLists::Total() const {
    size_t total = 0;
    for (const auto& list : Files) {
        total += list.size();
    }
    return total;
}

bool FindPartUpdates(TWebRemote& web, const TPartFiles& files, const TLocalPartVersions& local,
                     TPartUpdateLists& lists) {
    Stack().Push("FindPartUpdates");
    lists = {};
    const auto& folders = PartUpdateFolders();
    for (size_t f = 0; f < folders.size(); ++f) {
        if (!web.ReadDirectory(folders[f].Path)) {
            return false;
        }
        for (const TWebDirData& entry : web.Directory()) {
            if (f == 1 && Lower(entry.Name) == "print") {
                continue;
            }
            if (!IsPartFileName(f, entry.Name)) {
                lists.Refused.push_back(entry.Name);
                continue;
            }
            if (!files.Find(folders[f].Path, entry.Name)) {
                AddOnce(lists.Files[f], entry.Name);
            }
        }
    }
    if (!web.ReadPartVersions()) {
        return false;
    }
    for (const TWebPartData& part : web.PartVersions()) {
        const auto have = local.find(Lower(part.Name));
        if (have == local.end() || have->second >= part.Version) {
            continue;
        }
        if (!IsPartFileName(0, part.Name + ".def")) {
            lists.Refused.push_back(part.Name);
            continue;
        }
        // Every file of the part goes to the folder it belongs in.
        AddOnce(lists.Files[0], part.Name + ".def");
        AddOnce(lists.Files[1], part.Name + ".bmp");
        AddOnce(lists.Files[2], part.Name + ".jpg");
        AddOnce(lists.Files[3], part.Name + ".stl");
        AddOnce(lists.Files[3], part.Name + ".nrm");
        AddOnce(lists.Files[4], part.Name + ".stl");
    }
    return true;
}

std::vector<TPartUpdateRow> ReadPartUpdateRows(TWebRemote& web, const TPartUpdateLists& lists,
                                               bool german) {
    Stack().Push("ReadPartUpdateRows");
    std::vector<TPartUpdateRow> rows;
    for (const std::string& name : lists.Files[0]) {
        std::string body;
        if (!web.DownloadFile("def/" + name, body)) {
            continue;
        }
        const TIniFileEx def = TIniFileEx::FromBytes(body);
        if (def.ReadString("COMMON", "HIDE", "0") == "1") {
            continue;
        }
        TPartUpdateRow row;
        row.Number = Stem(name);
        row.OrgNumber = def.ReadString("COMMON", "ORGNUMBER", "---");
        row.Name = def.ReadString("COMMON", german ? "NAME" : "ENG", "---");
        std::string icon;
        if (web.DownloadFile("icon/" + row.Number + ".bmp", icon) ||
            web.DownloadFile("icon/" + row.Number + ".png", icon)) {
            row.Icon = std::move(icon);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

TPartDownloadResult DownloadPartUpdates(TWebRemote& web, TPartFiles& files,
                                        const TPartUpdateLists& lists,
                                        const std::function<void(size_t, int, int)>& progress,
                                        const std::function<bool()>& cancelled) {
    Stack().Push("DownloadPartUpdates");
    TPartDownloadResult result;
    const auto& folders = PartUpdateFolders();
    for (size_t f = 0; f < folders.size() && result.Error.empty() && !result.Cancelled; ++f) {
        if (lists.Files[f].empty()) {
            continue;
        }
        // The listing gives the sizes the download check needs.
        if (!web.ReadDirectory(folders[f].Path)) {
            result.Error = web.LastError();
            break;
        }
        const std::filesystem::path target = files.UserDir() / std::string(folders[f].Path);
        const int count = static_cast<int>(lists.Files[f].size());
        for (int i = 0; i < count; ++i) {
            if (cancelled && cancelled()) {
                result.Cancelled = true;
                break;
            }
            const std::string& name = lists.Files[f][static_cast<size_t>(i)];
            if (progress) {
                progress(f, i + 1, count);
            }
            if (!IsPartFileName(f, name)) {
                result.Failed.push_back(name);
                continue;
            }
            // A newer part need not have every kind of file: one the server lacks is no error.
            if (!Listed(web, name)) {
                continue;
            }
            if (web.DownloadListedFile(folders[f].Path, name, target)) {
                ++result.Saved;
            } else {
                result.Failed.push_back(name + ": " + web.LastError());
            }
        }
    }
    files.Refresh();
    return result;
}

}  // namespace kx
