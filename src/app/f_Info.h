// The information window: the program's version and credits.
#pragma once

#include <QDialog>

namespace kx {

class TFormInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFormInfo(QWidget* parent = nullptr);
};

}  // namespace kx
