#pragma once
// The computer's audio output devices, as the sample page lists them.
//
// A provider answers the product names of the audio output devices in the
// platform's order. The program uses the one built on Qt Multimedia
// (sample/ui/QtAudioOutputs.h); tests supply a fixed list.
//
//   names {"Speakers", "HDMI"}  ->  items {"kein Audio-Device", "Speakers", "HDMI"},
//                                   selected item 2 (the last device)
//   names {}                    ->  items {"kein Audio-Device"}, selected item 0

#include <QStringList>

namespace lmk {

class AudioOutputProvider {
  public:
    virtual ~AudioOutputProvider() = default;
    // Product names of the audio output devices, device 0 first.
    virtual QStringList outputNames() const = 0;
};

// A product name holds at most 31 characters.
constexpr int kAudioNameMax = 31;
inline constexpr const char *kNoAudioDeviceItem = "kein Audio-Device";

// `name` cut to kAudioNameMax characters (never half a surrogate pair).
QString audioProductName(const QString &name);

struct AudioDeviceList {
    QStringList items;
    int selected = 0;
};

// The list of the "Audio" button: "kein Audio-Device", then every device's
// product name; the last item is the selected one.
AudioDeviceList audioDeviceList(const QStringList &names);

} // namespace lmk
