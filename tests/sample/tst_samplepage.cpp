// The sample page "LMK25E": its controls, the level selector and the list of
// audio output devices.
#include "ScriptedDialogs.h"
#include "link/DeviceLink.h"
#include "sample/AudioOutputs.h"
#include "sample/SampleLevel.h"
#include "sample/ui/SamplePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

using namespace lmk;

namespace {
class FixedAudioOutputs : public AudioOutputProvider {
  public:
    explicit FixedAudioOutputs(QStringList names) : m_names(std::move(names)) {}
    QStringList outputNames() const override { return m_names; }
    QStringList m_names;
};

QStringList items(const QComboBox *box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}
} // namespace

class TstSamplePage : public QObject {
    Q_OBJECT

    ScriptedDialogs dialogs;
    DeviceLink *link = nullptr;
    SamplePage *page = nullptr;

    template <typename T> T *child(const char *name) {
        T *w = page->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("control %s missing", name);
        return w;
    }
    void click(const char *name, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton);
    }
    QString level() { return child<QLineEdit>("E_Ebene")->text(); }

  private slots:
    void init() {
        link = new DeviceLink;
        page = new SamplePage(*link);
        page->resize(977, 508);
        page->show();
    }
    void cleanup() {
        delete page;
        delete link;
        dialogs.clear();
    }

    void controlsAtTheirPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("CB_Mess") << "CB_Mess" << QRect(576, 8, 177, 17);
        QTest::newRow("SB_Display") << "SB_Display" << QRect(8, 32, 721, 16);
        QTest::newRow("B_Minus") << "B_Minus" << QRect(741, 29, 20, 20);
        QTest::newRow("E_Ebene") << "E_Ebene" << QRect(760, 28, 25, 21);
        QTest::newRow("B_PLus") << "B_PLus" << QRect(784, 29, 20, 20);
        QTest::newRow("B_Capture") << "B_Capture" << QRect(816, 24, 75, 25);
        QTest::newRow("B_End") << "B_End" << QRect(896, 24, 75, 25);
        QTest::newRow("I_Display") << "I_Display" << QRect(8, 64, 793, 433);
        QTest::newRow("B_Audio") << "B_Audio" << QRect(856, 88, 75, 25);
        QTest::newRow("CB_AOK") << "CB_AOK" << QRect(824, 168, 137, 17);
    }
    void controlsAtTheirPlaces() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        auto *w = page->findChild<QWidget *>(name);
        QVERIFY2(w, qPrintable(name));
        QCOMPARE(w->geometry(), geometry);
        QVERIFY(w->isVisible());
    }

    void initialState() {
        QCOMPARE(page->objectName(), QStringLiteral("TS_LMK54"));
        QCOMPARE(child<QLabel>("L_Sample")->text(), QStringLiteral("Sample: 0"));
        QCOMPARE(child<QLabel>("L_Sample")->pos(), QPoint(136, 8));
        QCOMPARE(child<QLabel>("L_Rate")->text(), QStringLiteral("Samplerate: 0"));
        QCOMPARE(child<QLabel>("L_Rate")->pos(), QPoint(336, 8));
        auto *mess = child<QCheckBox>("CB_Mess");
        QCOMPARE(mess->text(), QStringLiteral("Spektrum mit Messgenauigkeit"));
        QVERIFY(!mess->isChecked());
        auto *sb = child<QScrollBar>("SB_Display");
        QCOMPARE(sb->orientation(), Qt::Horizontal);
        QCOMPARE(sb->minimum(), 0);
        QCOMPARE(sb->maximum(), 64575);
        QCOMPARE(sb->value(), 0);
        QCOMPARE(sb->singleStep(), 10);
        QCOMPARE(sb->pageStep(), 100);
        auto *level = child<QLineEdit>("E_Ebene");
        QCOMPARE(level->text(), QStringLiteral("16"));
        QVERIFY(level->isReadOnly());
        QCOMPARE(level->maxLength(), 2);
        QCOMPARE(child<QPushButton>("B_Minus")->text(), QStringLiteral("-"));
        QCOMPARE(child<QPushButton>("B_PLus")->text(), QStringLiteral("+"));
        QCOMPARE(child<QPushButton>("B_Capture")->text(), QStringLiteral("Capture"));
        QVERIFY(child<QPushButton>("B_Capture")->isEnabled());
        QCOMPARE(child<QPushButton>("B_End")->text(), QStringLiteral("Ende"));
        QVERIFY(!child<QPushButton>("B_End")->isEnabled());
        QVERIFY(child<QLabel>("I_Display")->pixmap().isNull());
        QVERIFY(child<QLabel>("I_Display")->hasScaledContents());
        QCOMPARE(child<QPushButton>("B_Audio")->text(), QStringLiteral("Audio"));
        auto *audio = child<QComboBox>("CB_Audio");
        QVERIFY(audio->isEditable());
        QCOMPARE(audio->pos(), QPoint(816, 136));
        QCOMPARE(audio->width(), 153);
        QCOMPARE(items(audio), QStringList{QStringLiteral("keine Audio-Device")});
        QCOMPARE(audio->currentIndex(), 0);
        QCOMPARE(audio->currentText(), QStringLiteral("keine Audio-Device"));
        auto *aok = child<QCheckBox>("CB_AOK");
        QCOMPARE(aok->text(), QStringLiteral("Verwendung möglich"));
        QVERIFY(!aok->isChecked());
        QVERIFY(!child<QTimer>("Timer2")->isActive());
    }

    // Clicks as a string: '-' on B_Minus, '+' on B_PLus.
    void levelSteps_data() {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plus at 16 stays") << "+"
                                          << "16";
        QTest::newRow("one down") << "-"
                                  << "15";
        QTest::newRow("fifteen down reach 1") << QString(15, QLatin1Char('-')) << "1";
        QTest::newRow("minus at 1 stays") << QString(20, QLatin1Char('-')) << "1";
        QTest::newRow("down and up again") << "---++"
                                           << "15";
        QTest::newRow("from 1 all the way up")
            << QString(15, QLatin1Char('-')) + QString(17, QLatin1Char('+')) << "16";
        QTest::newRow("through 9 and 10") << "-------+"
                                          << "10";
    }
    void levelSteps() {
        QFETCH(QString, clicks);
        QFETCH(QString, expected);
        for (QChar c : clicks)
            click(c == QLatin1Char('-') ? "B_Minus" : "B_PLus");
        QCOMPARE(level(), expected);
        // The labels never change.
        QCOMPARE(child<QLabel>("L_Sample")->text(), QStringLiteral("Sample: 0"));
        QCOMPARE(child<QLabel>("L_Rate")->text(), QStringLiteral("Samplerate: 0"));
    }

    void levelTextRules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("down");
        QTest::addColumn<QString>("up");
        QTest::newRow("16") << "16"
                            << "15"
                            << "16";
        QTest::newRow("1") << "1"
                           << "1"
                           << "2";
        QTest::newRow("9") << "9"
                           << "8"
                           << "10";
        QTest::newRow("not a number") << "x"
                                      << "x"
                                      << "x";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }
    void levelTextRules() {
        QFETCH(QString, text);
        QFETCH(QString, down);
        QFETCH(QString, up);
        QCOMPARE(levelDown(text), down);
        QCOMPARE(levelUp(text), up);
    }

    void audioList_data() {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("selected");
        QTest::newRow("no device") << QStringList{} << QStringList{"kein Audio-Device"} << 0;
        QTest::newRow("two devices")
            << QStringList{"Lautsprecher", "HDMI Audio"}
            << QStringList{"kein Audio-Device", "Lautsprecher", "HDMI Audio"} << 2;
        QTest::newRow("long name cut to 31")
            << QStringList{"Built-in Audio Analog Stereo Output Device"}
            << QStringList{"kein Audio-Device", "Built-in Audio Analog Stereo Ou"} << 1;
        QTest::newRow("exactly 31 kept")
            << QStringList{QString(31, QLatin1Char('a'))}
            << QStringList{"kein Audio-Device", QString(31, QLatin1Char('a'))} << 1;
    }
    void audioList() {
        QFETCH(QStringList, devices);
        QFETCH(QStringList, expected);
        QFETCH(int, selected);
        FixedAudioOutputs provider(devices);
        page->setAudioProvider(&provider);
        click("B_Audio");
        auto *audio = child<QComboBox>("CB_Audio");
        QCOMPARE(items(audio), expected);
        QCOMPARE(audio->currentIndex(), selected);
        QCOMPARE(audio->currentText(), expected.at(selected));
        page->setAudioProvider(nullptr);
    }

    void audioListRebuiltOnEveryClick() {
        FixedAudioOutputs provider({QStringLiteral("A"), QStringLiteral("B")});
        page->setAudioProvider(&provider);
        click("B_Audio");
        click("B_Audio");
        auto *audio = child<QComboBox>("CB_Audio");
        QCOMPARE(items(audio), (QStringList{"kein Audio-Device", "A", "B"}));
        provider.m_names.clear();
        click("B_Audio");
        QCOMPARE(items(audio), QStringList{"kein Audio-Device"});
        QCOMPARE(audio->currentIndex(), 0);
        page->setAudioProvider(nullptr);
    }

    void productNameNeverSplitsACharacter() {
        // 30 letters and one character outside the basic plane (two UTF-16 units).
        const QString name = QString(30, QLatin1Char('x')) + QString::fromUtf8("\xF0\x9F\x8E\xA7");
        QCOMPARE(audioProductName(name), QString(30, QLatin1Char('x')));
        QCOMPARE(audioProductName(QStringLiteral("short")), QStringLiteral("short"));
    }

    void sampleControlsChangeNothingElse() {
        child<QScrollBar>("SB_Display")->setValue(500);
        child<QCheckBox>("CB_Mess")->setChecked(true);
        child<QCheckBox>("CB_AOK")->setChecked(true);
        click("B_Capture");
        QCOMPARE(level(), QStringLiteral("16"));
        QVERIFY(!child<QPushButton>("B_End")->isEnabled());
        QVERIFY(!child<QTimer>("Timer2")->isActive());
        QCOMPARE(child<QLabel>("L_Sample")->text(), QStringLiteral("Sample: 0"));
        QCOMPARE(child<QLabel>("L_Rate")->text(), QStringLiteral("Samplerate: 0"));
        QVERIFY(dialogs.texts.isEmpty());
    }
};

QTEST_MAIN(TstSamplePage)
#include "tst_samplepage.moc"
