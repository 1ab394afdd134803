// Page-drawing objects for parts sheets: a job laid out in tenths of a millimetre on whatever
// printing service draws it (printer, PDF file, preview picture).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kx {

/// One box of a parts sheet.
struct TSpareData {
    std::string Number;  ///< definition number
    std::string Note;    ///< kept with the item, never printed
    int32_t Count = 0;   ///< number of pieces
    std::string Text;    ///< the box's large text: the article number

    bool operator==(const TSpareData&) const = default;
};

/// The printing service as the sheets use it. Every coordinate, size, width and font height
/// is in page units (tenths of a millimetre), x to the right and y downwards from the top-left
/// corner of the printable area; the service maps them to its device.
class TPrintCanvas {
public:
    virtual ~TPrintCanvas() = default;

    /// Printable width and height in page units.
    virtual int PrintableWidth() const = 0;
    virtual int PrintableHeight() const = 0;

    /// Starts a job (font "Arial", white brush); false if it cannot be started.
    virtual bool BeginJob() = 0;
    /// Ejects the page; drawing goes on on the next one.
    virtual void NewPage() = 0;
    /// Ends the job; false if the job failed (nothing usable was made).
    virtual bool EndJob() = 0;
    /// Ends a job without finishing it: nothing is printed or written.
    virtual void AbortJob() = 0;

    virtual void SetFontHeight(int height) = 0;
    virtual void SetPenWidth(int width) = 0;
    /// Windows colour value, red in the low byte.
    virtual void SetPenColor(uint32_t colour) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    /// Text whose top-left corner is at (x, y).
    virtual void Text(int x, int y, const std::string& text) = 0;
    /// Outline in the current pen, filled white.
    virtual void Rect(int x1, int y1, int x2, int y2) = 0;
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    /// The picture stretched into the rectangle; false if the file cannot be read.
    virtual bool Picture(int x, int y, const std::filesystem::path& file, int width,
                         int height) = 0;
};

/// Progress of a long job with the user's cancel.
class TPrintProgress {
public:
    virtual ~TPrintProgress() = default;
    virtual void Start(const std::string& title, int maximum) = 0;
    /// Moves on to position; false once the user has cancelled.
    virtual bool Step(int position) = 0;
    virtual void Finish() = 0;
};

enum class TPrintResult { Done, Cancelled, Failed };

/// Lays out and draws a job page by page. A preview run draws only one page and starts no
/// job; a print run draws every page in one job.
class TPrintBase {
public:
    TPrintBase() = default;
    virtual ~TPrintBase() = default;
    TPrintBase(const TPrintBase&) = delete;
    TPrintBase& operator=(const TPrintBase&) = delete;

    /// Runs BeginPrint, DoPrint and EndPrint on the canvas. A cancelled print run aborts the
    /// job.
    TPrintResult Print(TPrintCanvas& canvas, bool preview, int previewPage);
    /// The number of pages the job has on a printable area of that size, from a run that
    /// draws nothing; the same layout as printing, so the count is right for every size.
    int CountPages(int pageWidth, int pageHeight);

    /// Asked after every item of a print run (not of a preview); nullptr for none.
    void SetProgress(TPrintProgress* progress) { m_progress = progress; }
    /// Title the progress shows while printing.
    std::string ProgressTitle;

    bool Preview = false;
    int Page = 1;
    int PreviewPage = 0;
    int PageWidth = 0;
    int PageHeight = 0;
    std::vector<TSpareData> Items;

protected:
    virtual bool BeginPrint();
    virtual void DoPrint() = 0;
    virtual bool EndPrint();

    void NewPage();
    void PrintText(int x, int y, const std::string& text);
    void PrintRect(int x1, int y1, int x2, int y2);
    void PrintLine(int x1, int y1, int x2, int y2);
    /// False if the picture could not be drawn (it is not drawn in a preview of another page).
    bool PrintPicture(int x, int y, const std::filesystem::path& file, int width, int height);
    void SetPenWidth(int width);
    void SetFontHeight(int height);
    void SetPenColor(uint32_t colour);
    int GetTextWidth(const std::string& text);
    /// Reports done items; false once the user has cancelled (DoPrint then stops).
    bool ItemDone(int done);
    bool Cancelled() const { return m_cancelled; }

private:
    /// Whether drawing reaches the canvas now.
    bool Drawing() const { return !Preview || Page == PreviewPage; }

    TPrintCanvas* m_canvas = nullptr;
    TPrintProgress* m_progress = nullptr;
    bool m_cancelled = false;
};

}  // namespace kx
