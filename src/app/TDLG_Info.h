#pragma once
// The Info dialog DLG_Info: program title, maker, version and "OK".

#include <QDialog>

namespace lmk {

class TDLG_Info : public QDialog {
    Q_OBJECT
  public:
    explicit TDLG_Info(QWidget *parent = nullptr);

    static constexpr int kClientWidth = 273;
    static constexpr int kClientHeight = 248;
};

} // namespace lmk
