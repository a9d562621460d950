#pragma once
// The seam for every message box and file/colour dialog. The window installs
// one built on Qt's dialogs; tests install a scripted one that records every
// text and returns prepared answers; lmkctl installs one that writes to
// standard error and answers from its options.

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace lmk {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Information box with one OK button.
    virtual void information(const QString &text) = 0;
    // Confirmation with Yes and No; true for Yes.
    virtual bool confirmYesNo(const QString &text) = 0;
    // Confirmation with OK and Cancel; true for OK.
    virtual bool confirmOkCancel(const QString &text) = 0;
    // File dialogs. `filter` uses the "Description|pattern|Description|pattern"
    // form of the window's dialogs; `defaultExt` like "*.RPD". An empty result
    // means the user cancelled.
    virtual QString openFile(const QString &defaultExt, const QString &filter) = 0;
    virtual QString saveFile(const QString &defaultExt, const QString &filter) = 0;
    // The save dialog with one choice more beside the name (e.g. "Scale:"
    // with "1 x" to "4 x"); `chosen` is the entry shown first and, after
    // the dialog, the one chosen. Without a way to show it, the plain save
    // dialog, and the first entry stays chosen.
    virtual QString saveFileWithChoice(const QString &defaultExt, const QString &filter,
                                       const QString &label, const QStringList &choices,
                                       int &chosen) {
        Q_UNUSED(label);
        Q_UNUSED(choices);
        const QString path = saveFile(defaultExt, filter);
        chosen = path.isEmpty() ? chosen : 0;
        return path;
    }
    // Colour dialog, colours as 0xRRGGBB; nothing when cancelled.
    virtual std::optional<quint32> chooseColor(quint32 initial) = 0;
};

// The dialogs in use. Without an installed one, a silent default answers
// "no"/cancel and only logs the texts.
Dialogs &dialogs();
void setDialogs(Dialogs *d); // not owned; nullptr restores the default

// "Cyclone Design File *.RPD|*.RPD" -> "Cyclone Design File *.RPD (*.RPD)"
// (one entry per pair, separated by ";;"), for Qt's file dialogs.
QString qtFilterFromPairs(const QString &filter);

} // namespace lmk
