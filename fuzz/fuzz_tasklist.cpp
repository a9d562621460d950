// Task-list replies to a running request, through the dispatch into the
// reader of the page "Update 54/55" and the list box it fills: no read
// beyond the payload, and the list box holds exactly the entries of the
// last list that was read.
//
// Input layout: a sequence of frames, each one length byte and that many
// payload bytes (a last frame takes what is left), delivered one after the
// other to the same page.
#include "FuzzApp.h"
#include "link/DeviceLink.h"
#include "link/Exchange.h"
#include "upload/TaskListCodec.h"
#include "upload/TaskListReader.h"
#include "upload/ui/UpdatePage.h"

#include <QComboBox>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace lmk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzzApp();
    static DeviceLink link;
    static UpdatePage page(link);
    static QComboBox *tasks = page.findChild<QComboBox *>(QStringLiteral("CB_Tasks"));
    // What the dispatcher hands to the reader, wherever in the frame the
    // task-list word stands.
    static std::optional<QStringList> last;
    static bool reached = false;
    static TaskListReader *reader = page.findChild<TaskListReader *>();
    static bool usb = [] {
        link.setUsbOpenForTest(true); // requests go nowhere, replies come from here
        return true;
    }();
    (void)usb;
    const auto hook = [](const quint8 *p, int n) {
        reached = true;
        if (auto e = upload::decodeTaskList(p, n))
            last = *e;
        reader->read(p, n);
    };
    if (size > 8192)
        return 0;
    tasks->clear();
    last.reset();
    size_t at = 0;
    while (at < size) {
        const size_t n = std::min<size_t>(data[at], size - at - 1);
        ++at;
        // An exact-size copy, so that the sanitizers see any read past it.
        const std::vector<uint8_t> frame(data + at, data + at + n);
        at += n;
        reached = false;
        Exchange search(link, QStringLiteral("Search"));
        search.sink.taskList = hook;
        search.send(QByteArray(1, char(upload::kTaskListCommand)));
        link.deliverPayload(QByteArray(reinterpret_cast<const char *>(frame.data()), int(n)), false);
        if (reached && !search.ended())
            std::abort(); // a task list ends a search's wait in every case
    }
    if (last) {
        if (tasks->count() != last->size())
            std::abort();
        for (int i = 0; i < tasks->count(); ++i)
            if (tasks->itemText(i) != last->at(i))
                std::abort();
    }
    return 0;
}
