#include "sample/AudioOutputs.h"

namespace lmk {

QString audioProductName(const QString &name) {
    if (name.size() <= kAudioNameMax)
        return name;
    int n = kAudioNameMax;
    if (name.at(n - 1).isHighSurrogate())
        --n;
    return name.left(n);
}

AudioDeviceList audioDeviceList(const QStringList &names) {
    AudioDeviceList list;
    list.items << QString::fromLatin1(kNoAudioDeviceItem);
    for (const QString &name : names)
        list.items << audioProductName(name);
    list.selected = int(names.size());
    return list;
}

} // namespace lmk
