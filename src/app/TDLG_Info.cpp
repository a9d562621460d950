#include "app/TDLG_Info.h"

#include "app/AppResources.h"

#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace lmk {

namespace {
QLabel *line(QWidget *parent, const char *name, const QString &text, int y) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(16, y, TDLG_Info::kClientWidth - 32, 17);
    return l;
}
} // namespace

TDLG_Info::TDLG_Info(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    initAppResources();
    setObjectName(QStringLiteral("DLG_Info"));
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setGeometry(16, 16, 32, 32);
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/lmk.png")));

    auto *title = new QLabel(QStringLiteral("Interfaceprogramm für LMK54"), this);
    title->setObjectName(QStringLiteral("ProductName"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setGeometry(60, 24, kClientWidth - 72, 17);

    line(this, "Maker", QStringLiteral("Hergestellt von"), 68);
    line(this, "MakerName", QStringLiteral("Funkmesstechnik Beispiel GmbH"), 88);
    line(this, "MakerStreet", QStringLiteral("Am Sendemast 7"), 106);
    line(this, "MakerTown", QStringLiteral("12345 Musterstadt"), 124);
    line(this, "Version", QStringLiteral("Version 1.4"), 156);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry((kClientWidth - 75) / 2, 204, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace lmk
