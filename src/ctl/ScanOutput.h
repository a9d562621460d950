#pragma once
// What lmkctl scan needs beyond the scan itself: the receiver's refusal
// codes in words, a check of the output before anything is sent, and the
// desktop's clipboard.

#include <QString>

#include <memory>

class QCoreApplication;
class QImage;

namespace lmk {
class DeviceLink;
struct ExchangeResult;
}

namespace lmk::ctl {

// The receiver's version text (request 12); "" when it does not answer
// within a second. `result`, when given, says how the request ended.
QString receiverVersionText(DeviceLink &link, ExchangeResult *result = nullptr);

// "code 1: the area is not on the receiver's screen"; a code without a
// known meaning is named as such.
QString scanRefusalText(int code);

// Why a picture cannot be written to `path` ("" when it can): its folder
// is missing or not writable, or the name is a folder or a file that may
// not be written. Nothing is created.
QString outputProblem(const QString &path);

// Why files cannot be created in the folder `dir` ("" when they can): the
// nearest folder that exists (the rest is created) is missing, is a file or
// may not be written. Nothing is created.
QString folderProblem(const QString &dir);

// The application object of lmkctl: with --clipboard among the arguments and
// a display to reach, one with the desktop's clipboard; otherwise a plain one.
std::unique_ptr<QCoreApplication> createApplication(int &argc, char **argv);
// Whether the running application can reach the desktop's clipboard.
bool clipboardAvailable();
// Puts the picture on the clipboard (clipboardAvailable() first).
void putOnClipboard(const QImage &picture);

} // namespace lmk::ctl
