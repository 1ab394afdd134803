// A plain-text code editor with line numbers in a gutter and Python syntax highlighting.
#pragma once

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <vector>

namespace kx {

/// Keywords, built-in names, strings, numbers and comments of Python in their own colours.
class TPythonHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit TPythonHighlighter(QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;

private:
    struct TRule {
        QRegularExpression Pattern;
        QTextCharFormat Format;
    };
    std::vector<TRule> m_rules;
    QTextCharFormat m_string;
    QTextCharFormat m_comment;
};

class TCodeEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TCodeEditor(QWidget* parent = nullptr);
    int GutterWidth() const;
    /// Paints the line numbers of the visible lines (the gutter widget's paint event).
    void PaintGutter(QPaintEvent* event);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateGutter(const QRect& rect, int dy);
    QWidget* m_gutter;
};

}  // namespace kx
