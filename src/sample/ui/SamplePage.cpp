#include "sample/ui/SamplePage.h"

#include "link/DeviceLink.h"
#include "sample/AudioOutputs.h"
#include "sample/SampleLevel.h"
#include "sample/ui/QtAudioOutputs.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace lmk {

namespace {
template <typename W> W *named(W *w, const char *name) {
    w->setObjectName(QLatin1String(name));
    return w;
}

// A label sized to its text at the given position.
QLabel *placedLabel(QWidget *parent, const char *name, const QString &text, int x, int y) {
    auto *l = named(new QLabel(text, parent), name);
    l->move(x, y);
    l->adjustSize();
    return l;
}
} // namespace

SamplePage::SamplePage(DeviceLink &link, QWidget *parent)
    : QWidget(parent), m_link(link), m_qtProvider(new QtAudioOutputs) {
    setObjectName(QStringLiteral("TS_LMK54"));

    L_Sample = placedLabel(this, "L_Sample", QStringLiteral("Sample: 0"), 136, 8);
    L_Rate = placedLabel(this, "L_Rate", QStringLiteral("Samplerate: 0"), 336, 8);

    CB_Mess = named(new QCheckBox(QStringLiteral("Spektrum mit Messgenauigkeit"), this), "CB_Mess");
    CB_Mess->setGeometry(576, 8, 177, 17);

    SB_Display = named(new QScrollBar(Qt::Horizontal, this), "SB_Display");
    SB_Display->setGeometry(8, 32, 721, 16);
    SB_Display->setRange(0, 64575);
    SB_Display->setValue(0);
    SB_Display->setSingleStep(10);
    SB_Display->setPageStep(100);
    SB_Display->setAccessibleName(QStringLiteral("Sample"));
    connect(SB_Display, &QScrollBar::valueChanged, this, [this] { SB_DisplayChange(); });

    B_Minus = named(new QPushButton(QStringLiteral("-"), this), "B_Minus");
    B_Minus->setGeometry(741, 29, 20, 20);
    B_Minus->setAccessibleName(QStringLiteral("Ebene -"));
    connect(B_Minus, &QPushButton::clicked, this, &SamplePage::B_MinusClick);

    E_Ebene = named(new QLineEdit(QString::fromLatin1(kLevelStart), this), "E_Ebene");
    E_Ebene->setGeometry(760, 28, 25, 21);
    E_Ebene->setReadOnly(true);
    E_Ebene->setMaxLength(2);
    E_Ebene->setAccessibleName(QStringLiteral("Ebene"));
    connect(E_Ebene, &QLineEdit::textChanged, this, [this] { E_EbeneChange(); });

    B_PLus = named(new QPushButton(QStringLiteral("+"), this), "B_PLus");
    B_PLus->setGeometry(784, 29, 20, 20);
    B_PLus->setAccessibleName(QStringLiteral("Ebene +"));
    connect(B_PLus, &QPushButton::clicked, this, &SamplePage::B_PLusClick);

    B_Capture = named(new QPushButton(QStringLiteral("Capture"), this), "B_Capture");
    B_Capture->setGeometry(816, 24, 75, 25);

    B_End = named(new QPushButton(QStringLiteral("Ende"), this), "B_End");
    B_End->setGeometry(896, 24, 75, 25);
    B_End->setEnabled(false);

    I_Display = named(new QLabel(this), "I_Display");
    I_Display->setGeometry(8, 64, 793, 433);
    I_Display->setScaledContents(true);

    B_Audio = named(new QPushButton(QStringLiteral("Audio"), this), "B_Audio");
    B_Audio->setGeometry(856, 88, 75, 25);
    connect(B_Audio, &QPushButton::clicked, this, &SamplePage::B_AudioClick);

    CB_Audio = named(new QComboBox(this), "CB_Audio");
    CB_Audio->setEditable(true);
    CB_Audio->setGeometry(816, 136, 153, CB_Audio->sizeHint().height());
    CB_Audio->addItem(QStringLiteral("keine Audio-Device"));
    // Its caption, for screen readers and the keyboard.
    placedLabel(this, "L_Audio", QStringLiteral("Audio-Device:"), 816, 118)->setBuddy(CB_Audio);
    CB_Audio->setCurrentIndex(0);

    CB_AOK = named(new QCheckBox(QStringLiteral("Verwendung möglich"), this), "CB_AOK");
    CB_AOK->setGeometry(824, 168, 137, 17);

    Timer2 = named(new QTimer(this), "Timer2");
    connect(Timer2, &QTimer::timeout, this, &SamplePage::Timer2Timer);
}

SamplePage::~SamplePage() {
    delete m_qtProvider;
}

void SamplePage::setAudioProvider(const AudioOutputProvider *provider) {
    m_provider = provider;
}

void SamplePage::B_MinusClick() {
    E_Ebene->setText(levelDown(E_Ebene->text()));
}

void SamplePage::B_PLusClick() {
    E_Ebene->setText(levelUp(E_Ebene->text()));
}

void SamplePage::B_AudioClick() {
    const AudioOutputProvider &provider = m_provider ? *m_provider : *m_qtProvider;
    const AudioDeviceList list = audioDeviceList(provider.outputNames());
    CB_Audio->clear();
    CB_Audio->addItems(list.items);
    CB_Audio->setCurrentIndex(list.selected);
    // Show the start of a long name; the open list is as wide as its names.
    CB_Audio->lineEdit()->setCursorPosition(0);
    CB_Audio->view()->setMinimumWidth(CB_Audio->view()->sizeHintForColumn(0) + 8);
}

} // namespace lmk
