#include "app/QtDialogs.h"

#include "app/UiLanguage.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QWidget>

namespace lmk {

namespace {
// Message boxes carry the main window's caption.
QString caption(const QWidget *parent) {
    if (parent && !parent->window()->windowTitle().isEmpty())
        return parent->window()->windowTitle();
    return QApplication::applicationName();
}

// "*.RPD" -> "RPD". A PNG picture is named ".png", as every other program
// names it, whatever the filter says ("PNG-Bild *.PNG").
QString suffixOf(const QString &defaultExt) {
    QString s = defaultExt;
    s.remove(QLatin1Char('*'));
    if (s.startsWith(QLatin1Char('.')))
        s.remove(0, 1);
    if (s.compare(QLatin1String("png"), Qt::CaseInsensitive) == 0)
        s = QStringLiteral("png");
    return s;
}
} // namespace

void QtDialogs::information(const QString &text) {
    QMessageBox::information(m_parent, caption(m_parent), UiLanguage::translate(text), QMessageBox::Ok);
}

bool QtDialogs::confirmYesNo(const QString &text) {
    return QMessageBox::question(m_parent, caption(m_parent), UiLanguage::translate(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

bool QtDialogs::confirmOkCancel(const QString &text) {
    return QMessageBox::question(m_parent, caption(m_parent), UiLanguage::translate(text),
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
}

QString QtDialogs::openFile(const QString &defaultExt, const QString &filter) {
    QFileDialog dlg(m_parent);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilter(qtFilterFromPairs(UiLanguage::translateFilter(filter)));
    dlg.setDefaultSuffix(suffixOf(defaultExt));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

namespace {
void prepareSave(QFileDialog &dlg, const QString &defaultExt, const QString &filter) {
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilter(qtFilterFromPairs(UiLanguage::translateFilter(filter)));
    dlg.setDefaultSuffix(suffixOf(defaultExt));
    // A name typed without an extension gets that of the type chosen.
    QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg](const QString &chosen) {
        const qsizetype open = chosen.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            dlg.setDefaultSuffix(suffixOf(chosen.mid(open + 1).chopped(1)));
    });
}
} // namespace

QString QtDialogs::saveFile(const QString &defaultExt, const QString &filter) {
    QFileDialog dlg(m_parent);
    prepareSave(dlg, defaultExt, filter);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

QString QtDialogs::saveFileWithChoice(const QString &defaultExt, const QString &filter,
                                      const QString &label, const QStringList &choices,
                                      int &chosen) {
    QFileDialog dlg(m_parent);
    dlg.setOption(QFileDialog::DontUseNativeDialog); // a platform dialog takes no extra fields
    prepareSave(dlg, defaultExt, filter);
    auto *grid = qobject_cast<QGridLayout *>(dlg.layout());
    auto *combo = new QComboBox(&dlg);
    combo->setObjectName(QStringLiteral("CB_SaveChoice"));
    combo->addItems(choices);
    combo->setCurrentIndex(qBound(0, chosen, int(choices.size()) - 1));
    auto *caption = new QLabel(label, &dlg);
    caption->setBuddy(combo);
    if (grid) {
        const int row = grid->rowCount();
        grid->addWidget(caption, row, 0);
        grid->addWidget(combo, row, 1);
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    chosen = combo->currentIndex();
    return dlg.selectedFiles().constFirst();
}

std::optional<quint32> QtDialogs::chooseColor(quint32 initial) {
    const QColor c = QColorDialog::getColor(QColor::fromRgb(QRgb(initial)), m_parent);
    if (!c.isValid())
        return std::nullopt;
    return quint32(c.rgb() & 0xFFFFFF);
}

} // namespace lmk
