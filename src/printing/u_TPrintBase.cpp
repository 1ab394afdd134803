// Page-drawing objects for parts sheets: a job laid out in tenths of a millimetre on whatever
// printing service draws it (printer, PDF file, preview picture).
#include "printing/u_TPrintBase.h"

#include "foundation/u_stack.h"

namespace kx {

namespace {

/// A printing service that draws nothing: the layout run that counts pages.
class TPageCounter : public TPrintCanvas {
public:
    TPageCounter(int width, int height) : m_width(width), m_height(height) {}
    int PrintableWidth() const override { return m_width; }
    int PrintableHeight() const override { return m_height; }
    bool BeginJob() override { return true; }
    void NewPage() override {}
    bool EndJob() override { return true; }
    void AbortJob() override {}
    void SetFontHeight(int) override {}
    void SetPenWidth(int) override {}
    void SetPenColor(uint32_t) override {}
    int TextWidth(const std::string&) override { return 0; }
    void Text(int, int, const std::string&) override {}
    void Rect(int, int, int, int) override {}
    void Line(int, int, int, int) override {}
    bool Picture(int, int, const std::filesystem::path&, int, int) override { return true; }

private:
    int m_width;
    int m_height;
};

}  // namespace

TPrintResult TPrintBase::Print(TPrintCanvas& canvas, bool preview, int previewPage) {
    Stack().Push("TPrintBase.Print", preview, previewPage);
    m_canvas = &canvas;
    Preview = preview;
    PreviewPage = previewPage;
    m_cancelled = false;
    TPrintResult result = TPrintResult::Failed;
    if (BeginPrint()) {
        DoPrint();
        if (m_cancelled) {
            if (!Preview) {
                canvas.AbortJob();
            }
            result = TPrintResult::Cancelled;
        } else {
            result = EndPrint() ? TPrintResult::Done : TPrintResult::Failed;
        }
    }
    if (m_progress && !Preview) {
        m_progress->Finish();
    }
    m_canvas = nullptr;
    return result;
}

int TPrintBase::CountPages(int pageWidth, int pageHeight) {
    TPageCounter counter(pageWidth, pageHeight);
    TPrintProgress* progress = m_progress;
    m_progress = nullptr;
    Print(counter, true, 0);
    m_progress = progress;
    return Page;
}

bool TPrintBase::BeginPrint() {
    Stack().Push("TPrintBase.BeginPrint");
    Page = 1;
    PageWidth = m_canvas->PrintableWidth();
    PageHeight = m_canvas->PrintableHeight();
    if (!Preview) {
        if (!m_canvas->BeginJob()) {
            return false;
        }
        if (m_progress) {
            m_progress->Start(ProgressTitle, static_cast<int>(Items.size()));
        }
    }
    SetFontHeight(40);
    return true;
}

bool TPrintBase::EndPrint() {
    Stack().Push("TPrintBase.EndPrint");
    return Preview || m_canvas->EndJob();
}

void TPrintBase::NewPage() {
    Stack().Push("TPrintBase.NewPage");
    ++Page;
    if (!Preview) {
        m_canvas->NewPage();
    }
}

void TPrintBase::PrintText(int x, int y, const std::string& text) {
    if (Drawing()) {
        m_canvas->Text(x, y, text);
    }
}

void TPrintBase::PrintRect(int x1, int y1, int x2, int y2) {
    if (Drawing()) {
        m_canvas->Rect(x1, y1, x2, y2);
    }
}

void TPrintBase::PrintLine(int x1, int y1, int x2, int y2) {
    if (Drawing()) {
        m_canvas->Line(x1, y1, x2, y2);
    }
}

bool TPrintBase::PrintPicture(int x, int y, const std::filesystem::path& file, int width,
                              int height) {
    return Drawing() && m_canvas->Picture(x, y, file, width, height);
}

void TPrintBase::SetPenWidth(int width) {
    if (Drawing()) {
        m_canvas->SetPenWidth(width);
    }
}

void TPrintBase::SetFontHeight(int height) {
    if (Drawing()) {
        m_canvas->SetFontHeight(height);
    }
}

void TPrintBase::SetPenColor(uint32_t colour) {
    if (Drawing()) {
        m_canvas->SetPenColor(colour);
    }
}

int TPrintBase::GetTextWidth(const std::string& text) {
    return Drawing() ? m_canvas->TextWidth(text) : 0;
}

bool TPrintBase::ItemDone(int done) {
    if (m_progress && !Preview && !m_progress->Step(done)) {
        m_cancelled = true;
    }
    return !m_cancelled;
}

}  // namespace kx
