// A plain-text code editor with line numbers in a gutter and Python syntax highlighting.
#include "scripting/codeeditor.h"

#include <QFontDatabase>
#include <QPainter>
#include <QTextBlock>

namespace kx {

namespace {

QTextCharFormat Colour(const QColor& colour, bool bold = false) {
    QTextCharFormat f;
    f.setForeground(colour);
    if (bold) {
        f.setFontWeight(QFont::Bold);
    }
    return f;
}

class TGutter : public QWidget {
public:
    explicit TGutter(TCodeEditor* editor) : QWidget(editor), m_editor(editor) {}
    QSize sizeHint() const override { return {m_editor->GutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { m_editor->PaintGutter(event); }

private:
    TCodeEditor* m_editor;
};

}  // namespace

TPythonHighlighter::TPythonHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    const QStringList keywords = {
        "and",  "as",     "assert", "async",  "await",  "break",   "class",    "continue", "def",
        "del",  "elif",   "else",   "except", "False",  "finally", "for",      "from",     "global",
        "if",   "import", "in",     "is",     "lambda", "None",    "nonlocal", "not",      "or",
        "pass", "raise",  "return", "True",   "try",    "while",   "with",     "yield"};
    for (const QString& word : keywords) {
        m_rules.push_back({QRegularExpression(QStringLiteral("\\b%1\\b").arg(word)),
                           Colour(QColor(0, 0, 160), true)});
    }
    m_rules.push_back({QRegularExpression(QStringLiteral(
                           "\\b(print|len|range|int|float|str|list|dict|abs|min|max|round)\\b")),
                       Colour(QColor(128, 0, 128))});
    m_rules.push_back(
        {QRegularExpression(QStringLiteral("\\bkxd\\b")), Colour(QColor(0, 110, 110), true)});
    m_rules.push_back({QRegularExpression(QStringLiteral("\\b[0-9]+(\\.[0-9]*)?\\b")),
                       Colour(QColor(160, 80, 0))});
    m_string = Colour(QColor(0, 128, 0));
    m_comment = Colour(QColor(128, 128, 128));
    m_comment.setFontItalic(true);
}

void TPythonHighlighter::highlightBlock(const QString& text) {
    for (const TRule& rule : m_rules) {
        for (auto it = rule.Pattern.globalMatch(text); it.hasNext();) {
            const auto match = it.next();
            setFormat(int(match.capturedStart()), int(match.capturedLength()), rule.Format);
        }
    }
    // Strings and comments last, walking the line once, so that a "#" inside a string is text
    // and a quote inside a comment is comment.
    QChar quote;
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == QLatin1Char('\\')) {
                ++i;
            } else if (c == quote) {
                setFormat(start, i - start + 1, m_string);
                quote = QChar();
            }
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            start = i;
        } else if (c == QLatin1Char('#')) {
            setFormat(i, int(text.size()) - i, m_comment);
            return;
        }
    }
    if (!quote.isNull()) {
        setFormat(start, int(text.size()) - start, m_string);
    }
}

TCodeEditor::TCodeEditor(QWidget* parent) : QPlainTextEdit(parent), m_gutter(new TGutter(this)) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    setFont(font);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabStopDistance(4 * fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    new TPythonHighlighter(document());
    connect(this, &QPlainTextEdit::blockCountChanged, this,
            [this] { setViewportMargins(GutterWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, &TCodeEditor::UpdateGutter);
    setViewportMargins(GutterWidth(), 0, 0, 0);
}

int TCodeEditor::GutterWidth() const {
    int digits = 1;
    for (int n = std::max(1, blockCount()); n >= 10; n /= 10) {
        ++digits;
    }
    return 10 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 2);
}

void TCodeEditor::UpdateGutter(const QRect& rect, int dy) {
    if (dy) {
        m_gutter->scroll(0, dy);
    } else {
        m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
    }
}

void TCodeEditor::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect r = contentsRect();
    m_gutter->setGeometry(QRect(r.left(), r.top(), GutterWidth(), r.height()));
}

void TCodeEditor::PaintGutter(QPaintEvent* event) {
    QPainter painter(m_gutter);
    painter.fillRect(event->rect(), QColor(235, 235, 235));
    painter.setPen(QColor(120, 120, 120));
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    int bottom = top + qRound(blockBoundingRect(block).height());
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && bottom >= event->rect().top()) {
            painter.drawText(0, top, m_gutter->width() - 5, fontMetrics().height(), Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top = bottom;
        bottom = top + qRound(blockBoundingRect(block).height());
    }
}

}  // namespace kx
