// The graphics-information window: what the OpenGL implementation of the view reports.
#pragma once

#include <QDialog>
#include <QString>
#include <utility>
#include <vector>

class QSurfaceFormat;

namespace kx {

struct TGlInfo;

/// Rows of the two pages, label and value, as the implementation reports them.
struct TGlReport {
    std::vector<std::pair<QString, QString>> Common;
    std::vector<std::pair<QString, QString>> Buffers;
    std::vector<std::pair<QString, QString>> Frame;  ///< what the view's last frame cost
};

struct TRenderStats;

/// The rows of the pages for a context: what it says of itself and the format of its surface,
/// and with stats what the view's last frame drew.
TGlReport GlReport(const TGlInfo& info, const QSurfaceFormat& format,
                   const TRenderStats* stats = nullptr);

class TFormGlInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFormGlInfo(const TGlReport& report, QWidget* parent = nullptr);
};

}  // namespace kx
