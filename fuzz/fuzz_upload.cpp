// Task-list replies and task entries as the receiver and the user may give
// them, and the upload packetizer over arbitrary files: no read beyond the
// input, and the packets carry the file unchanged with the right lead bytes.
//
// Input layout: byte 0 selects the target (0: task-list reply, 1: task
// entry text, 2: file); the rest is the input.
#include "upload/TaskListCodec.h"
#include "upload/UploadCodec.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace lmk::upload;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1 || size > 70000)
        return 0;
    const int what = data[0] % 3;
    // An exact-size copy, so that the sanitizers see any read past its end.
    const std::vector<uint8_t> in(data + 1, data + size);
    const int n = int(in.size());
    if (what == 0) {
        const auto entries = decodeTaskList(in.empty() ? nullptr : in.data(), n);
        if (entries && (n < kTaskListMinBytes || n > kTaskListMaxBytes))
            std::abort();
        if (entries && entries->size() > kTaskListMaxTasks)
            std::abort();
        if (entries)
            for (const QString &e : *entries)
                (void)taskIdsFromEntry(e);
    } else if (what == 1) {
        const QString entry = QString::fromLatin1(reinterpret_cast<const char *>(in.data()), n);
        (void)taskIdsFromEntry(entry);
        (void)nameMatchesTarget(Target::External, entry, entry);
        if (nameBlock(entry).size() != kNameBlockBytes)
            std::abort();
    } else if (n > 0) {
        const QByteArray file(reinterpret_cast<const char *>(in.data()), n);
        UploadPacketizer p(file, nameBlock(QStringLiteral("LMK.RPD")));
        QByteArray data4;
        qint64 group = 1;
        while (p.hasNext()) {
            const bool name = p.nextIsName();
            const QByteArray &packet = p.next();
            if (packet.isEmpty() || packet.size() % kGroupBytes != 0 ||
                packet.size() > kFullPacketBytes)
                std::abort();
            for (int i = 0; i < packet.size(); i += kGroupBytes, ++group) {
                if (quint8(packet[i]) != leadByte(group))
                    std::abort();
                if (!name)
                    data4 += packet.mid(i + 1, 4);
            }
        }
        if (data4.left(n) != file || p.sent() != (n + 3) / 4 * 4)
            std::abort();
    }
    return 0;
}
