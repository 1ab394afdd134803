// The graphics-information window: what the OpenGL implementation of the view reports.
#pragma once

#include <QDialog>
#include <QString>
#include <utility>
#include <vector>

namespace kx {

/// Rows of the two pages, label and value, as the implementation reports them.
struct TGlReport {
    std::vector<std::pair<QString, QString>> Common;
    std::vector<std::pair<QString, QString>> Buffers;
};

class TFormGlInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFormGlInfo(const TGlReport& report, QWidget* parent = nullptr);
};

}  // namespace kx
