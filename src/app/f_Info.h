// The information window: the version, our credits and the libraries with their licences.
#pragma once

#include <QDialog>

namespace kx {

class TFormInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFormInfo(QWidget* parent = nullptr);
};

}  // namespace kx
