#pragma once
// The seam for every message box and file/colour dialog. The window installs
// one built on Qt's dialogs; tests install a scripted one that records every
// text and returns prepared answers; lmkctl installs one that writes to
// standard error and answers from its options.

#include <QString>
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
