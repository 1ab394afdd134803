// kxbatch sheets MODEL.kxm OUT.pdf [--library | --collection FILE.kxc]: parts sheets as a PDF
// file.
#include <CLI/CLI.hpp>
#include <QString>
#include <cstdio>
#include <memory>

#include "batch/batchjobs.h"
#include "batch/batchmodel.h"
#include "catalogue/u_library.h"
#include "catalogue/u_partcache.h"
#include "foundation/u_language.h"
#include "foundation/u_text.h"
#include "printing/sheetpdf.h"
#include "printing/u_sheetitems.h"

namespace kx {

namespace {

/// The library without tiles to draw: only its entries and the collection are used.
class TNoIcons : public TLibraryFillPort {
public:
    void FillStart(const std::string&, int) override {}
    void FillProgress(int) override {}
    int LoadIcon(const std::filesystem::path&) override { return -1; }
};

/// The collection's boxes, labelled from the library as the collection tab labels them.
std::optional<std::vector<TSpareData>> CollectionSheetItems(const TPartFiles& files,
                                                            const std::string& file,
                                                            std::string& error) {
    const auto lines = ReadTextFile(file);
    if (!lines) {
        error =
            Language().GetText("KXBATCH", 1, "Die Datei kann nicht gelesen werden:") + " " + file;
        return std::nullopt;
    }
    TPartLibrary library;
    TNoIcons icons;
    TLibraryFillOptions options = TLibraryFillOptions::Current();
    options.ReducedLibrary = false;
    options.DeveloperMode = false;
    library.Fill(files, options, icons);
    library.OpenCollection(*lines);
    return CollectionItems(library.CollectionPrintRows());
}

}  // namespace

TBatchJob SheetsJob() {
    TBatchJob job;
    job.Name = "sheets";
    job.Description = "Print the parts sheets of a model, the library or a collection to PDF";
    job.NeedsGui = true;
    job.Setup = [](CLI::App& command) {
        struct TArgs {
            std::string Model;
            std::string Out;
            bool Library = false;
            std::string Collection;
        };
        auto args = std::make_shared<TArgs>();
        command.add_option("MODEL", args->Model, "Model file (.kxm)")->required();
        command.add_option("OUT", args->Out, "PDF file to write")->required();
        auto* library =
            command.add_flag("--library", args->Library, "Every part of the library, count 1");
        auto* collection = command.add_option("--collection", args->Collection,
                                              "The parts of a collection file (.kxc)");
        library->excludes(collection);
        collection->excludes(library);
        return [args]() -> TBatchExit {
            TBatchModel model;
            std::string error;
            if (!model.Load(args->Model, error)) {
                BatchError(error);
                return BatchFailed;
            }
            const TPartFiles& files = model.Files();
            const TCatalogueSettings settings = CurrentCatalogueSettings();
            std::vector<TSpareData> items;
            if (args->Library) {
                items = *LibraryItems(files, DefCache(), settings, nullptr);
            } else if (!args->Collection.empty()) {
                auto collection = CollectionSheetItems(files, args->Collection, error);
                if (!collection) {
                    BatchError(error);
                    return BatchFailed;
                }
                items = std::move(*collection);
            } else {
                items = OverviewItems(model.Model().Parts());
            }
            auto sheet = NewPartsSheet(std::move(items), files, DefCache(), settings);
            sheet->SetProgress(nullptr);
            QString why;
            const TPrintResult result = WriteSheetPdf(*sheet, QString::fromStdString(args->Out),
                                                      DefaultSheetLayout(), &why);
            if (result != TPrintResult::Done) {
                BatchError(
                    Language().GetText("KXBATCH", 2, "Die Datei kann nicht geschrieben werden:") +
                    " " + args->Out + " " + why.toStdString());
                return BatchFailed;
            }
            std::printf("%s: %d\n", args->Out.c_str(), sheet->Page);
            return BatchDone;
        };
    };
    return job;
}

}  // namespace kx
