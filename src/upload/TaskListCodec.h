#pragma once
// The receiver's list of external tasks.
//
// Request: 0B (one byte). Reply payload, n bytes counted from the code word:
//   offset 0       0B .. .. ..           code word (bytes 1-3 not read)
//   offset 4       k records of 12 bytes: id1, id2, id3, each 32-bit LE
//   offset 4+12k   at least 4 bytes, not read
// k = (n - 8) / 12 (rounded down). A reply is read only when 8 <= n <= 508,
// so a list holds at most 41 tasks.
//
// Each record becomes one entry text: the three ids in upper-case hex with at
// least four digits, joined by two spaces. Sample exchange:
//   -> 0B
//   <- 0B 00 00 00  A2 01 00 00  03 00 00 00  F0 00 00 00  00 00 00 00
//      (n = 20, one record)  ->  entry "01A2  0003  00F0"
// A reply of 8 to 19 bytes has no whole record: the single entry
// "No Tasks found!".

#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace lmk::upload {

constexpr quint8 kTaskListCommand = 0x0B;
constexpr int kTaskListMinBytes = 8;
constexpr int kTaskListMaxBytes = 508;
constexpr int kTaskRecordBytes = 12;
constexpr int kTaskListMaxTasks = (kTaskListMaxBytes - 8) / kTaskRecordBytes; // 41

// The entry of a reply without records.
inline constexpr const char *kNoTasksInReply = "No Tasks found!";
// The list's entry before the first search (and the upload's message when the
// selected entry holds no task ids).
inline constexpr const char *kNoTasksFound = "No tasks found!";

QString taskEntryText(quint32 id1, quint32 id2, quint32 id3);

// The entries of a reply; p at the code word, n bytes from there to the end
// of the payload. Nothing when n is outside 8..508 (the list stays as it is).
std::optional<QStringList> decodeTaskList(const quint8 *p, int n);

} // namespace lmk::upload
