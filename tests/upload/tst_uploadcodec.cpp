// Upload packets, name block, task ids and task lists: bytes in, bytes or
// texts out.
#include "upload/TaskListCodec.h"
#include "upload/UploadCodec.h"
#include "upload/UploadOperation.h"
#include "TaskReplies.h"

#include <QtTest>

using namespace lmk::upload;
using namespace lmk::test;

namespace {
QByteArray hex(const char *h) {
    return QByteArray::fromHex(h);
}


} // namespace

class TstUploadCodec : public QObject {
    Q_OBJECT
  private slots:
    void nameBlock_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("block");
        QTest::newRow("short name, zero-terminated")
            << "LMK1.RPD" << hex("00004c4d4b312e525044 0000");
        QTest::newRow("exactly ten characters") << "TASK01A2.R" << hex("00005441534b30314132 2e52");
        QTest::newRow("longer name cut to ten")
            << "TASK01A2.RPD" << hex("00005441534b30314132 2e52");
        QTest::newRow("Latin-1 character")
            << QStringLiteral("LMK\u00e9.RPD") << hex("00004c4d4be92e525044 0000");
        QTest::newRow("empty") << QString() << QByteArray(12, '\0');
    }
    void nameBlock() {
        QFETCH(QString, name);
        QFETCH(QByteArray, block);
        QCOMPARE(lmk::upload::nameBlock(name), block);
    }

    void headers() {
        QCOMPARE(configurationHeader(1000), hex("09e8030000"));
        QCOMPARE(configurationHeader(0xFFFFFFFFu), hex("09ffffffff"));
        // Groups (0C, S), (00, id1), (00, id2), (00, id3); ids at 6, 11 and 16.
        QCOMPARE(externalHeader(257, {0x01A2, 0x0003, 0x00F0}),
                 hex("0c01010000 00a2010000 0003000000 00f0000000"));
    }

    void taskIds_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("id1");
        QTest::addColumn<int>("id2");
        QTest::addColumn<int>("id3");
        QTest::addColumn<QString>("tooLarge");
        QTest::newRow("entry of a search")
            << "01A2  0003  00F0" << true << 0x01A2 << 0x0003 << 0x00F0 << "";
        QTest::newRow("lower-case hex")
            << "ab12  00cd  ffff" << true << 0xAB12 << 0x00CD << 0xFFFF << "";
        QTest::newRow("initial entry") << "No tasks found!" << false << 0 << 0 << 0 << "";
        QTest::newRow("reply without records") << "No Tasks found!" << false << 0 << 0 << 0 << "";
        QTest::newRow("empty") << "" << false << 0 << 0 << 0 << "";
        // Split at the separators: a long id does not shift the others.
        QTest::newRow("five-digit first id")
            << "12345  0003  0000" << false << 0 << 0 << 0 << "12345";
        QTest::newRow("five-digit third id")
            << "0001  0002  12345" << false << 0 << 0 << 0 << "12345";
        QTest::newRow("eight-digit second id")
            << "0001  FFFFFFFF  0003" << false << 0 << 0 << 0 << "FFFFFFFF";
        QTest::newRow("leading zeros do not count")
            << "00001A2B  0003  0000" << true << 0x1A2B << 0x0003 << 0x0000 << "";
        QTest::newRow("short third id") << "0001  0002  03" << true << 1 << 2 << 3 << "";
        QTest::newRow("third id missing") << "0001  0002" << false << 0 << 0 << 0 << "";
        QTest::newRow("single spaces") << "0001 0002 0003" << false << 0 << 0 << 0 << "";
        QTest::newRow("text after the ids") << "0001  0002  0003 x" << false << 0 << 0 << 0 << "";
        QTest::newRow("fourth field") << "0001  0002  0003  0004" << false << 0 << 0 << 0 << "";
        QTest::newRow("not hex beside a long id")
            << "12345  00G2  0003" << false << 0 << 0 << 0 << "";
    }
    void taskIds() {
        QFETCH(QString, entry);
        QFETCH(bool, ok);
        QFETCH(QString, tooLarge);
        const TaskEntryIds parsed = parseTaskEntry(entry);
        QCOMPARE(parsed.ids.has_value(), ok);
        QCOMPARE(taskIdsFromEntry(entry).has_value(), ok);
        QCOMPARE(parsed.tooLarge, tooLarge);
        if (ok) {
            QFETCH(int, id1);
            QFETCH(int, id2);
            QFETCH(int, id3);
            QCOMPARE(*parsed.ids, (TaskIds{quint16(id1), quint16(id2), quint16(id3)}));
        }
    }

    void nameCheck_data() {
        QTest::addColumn<bool>("external");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("matches");
        QTest::newRow("configuration LMK") << false << "LMK54_V2.RPD"
                                           << "" << true;
        QTest::newRow("configuration lower case") << false << "lmk54_V2.RPD"
                                                  << "" << false;
        QTest::newRow("configuration other") << false << "TASK01A2.RPD"
                                             << "" << false;
        QTest::newRow("task matches") << true << "TASK01A2.RPD"
                                      << "01A2  0003  00F0" << true;
        QTest::newRow("task case differs") << true << "TASK01a2.RPD"
                                           << "01A2  0003  00F0" << false;
        QTest::newRow("task initial entry") << true << "TASK01A2.RPD"
                                            << "No tasks found!" << false;
        QTest::newRow("task, nothing selected") << true << "TASK01A2.RPD"
                                                << "" << false;
    }
    void nameCheck() {
        QFETCH(bool, external);
        QFETCH(QString, file);
        QFETCH(QString, entry);
        QFETCH(bool, matches);
        QCOMPARE(
            nameMatchesTarget(external ? Target::External : Target::Configuration, file, entry),
            matches);
    }

    // Packets after the header for sizes around the packet boundaries.
    void packets_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QList<int>>("groups"); // groups per data packet
        QTest::addColumn<int>("finalSent");
        QTest::newRow("1") << 1 << QList<int>{1} << 4;
        QTest::newRow("8") << 8 << QList<int>{2} << 8;
        QTest::newRow("256") << 256 << QList<int>{64} << 256;
        QTest::newRow("257") << 257 << QList<int>{64, 1} << 260;
        QTest::newRow("512") << 512 << QList<int>{64, 64} << 512;
        QTest::newRow("1000") << 1000 << QList<int>{64, 64, 64, 58} << 1000;
    }
    void packets() {
        QFETCH(int, size);
        QFETCH(QList<int>, groups);
        QFETCH(int, finalSent);
        QByteArray file(size, '\0');
        for (int i = 0; i < size; ++i)
            file[i] = char(0x11 + i * 7);
        UploadPacketizer p(file, lmk::upload::nameBlock(QStringLiteral("LMK1.RPD")));
        QByteArray names;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(p.nextIsName());
            QCOMPARE(p.sent(), 0);
            names += p.next();
        }
        QCOMPARE(names, hex("8100004c4d 824b312e52 8350440000"));
        QByteArray data;
        qint64 n = 4;
        for (int g : groups) {
            QVERIFY(p.hasNext());
            const QByteArray &packet = p.next();
            QCOMPARE(packet.size(), g * 5);
            for (int i = 0; i < g; ++i, ++n) {
                QCOMPARE(quint8(packet[i * 5]), quint8(0x80 | (n % 128)));
                data += packet.mid(i * 5 + 1, 4);
            }
        }
        QVERIFY(!p.hasNext());
        QCOMPARE(p.sent(), finalSent);
        QCOMPARE(data.left(size), file);
        QCOMPARE(data.mid(size), QByteArray(finalSent - size, '\0')); // padding
    }

    void groupCounterWraps() {
        // Group 128 has lead 0x80 and group 129 has 0x81: 3 name groups and
        // 2 full packets bring the counter to 131.
        UploadPacketizer p(QByteArray(600, 'x'), QByteArray(12, '\0'));
        QByteArray all;
        while (p.hasNext())
            all += p.next();
        QCOMPARE(quint8(all[(128 - 1) * 5]), quint8(0x80));
        QCOMPARE(quint8(all[(129 - 1) * 5]), quint8(0x81));
        QCOMPARE(quint8(all[(127 - 1) * 5]), quint8(0xFF));
    }

    void progress_data() {
        QTest::addColumn<qint64>("sent");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<int>("position");
        QTest::newRow("start") << qint64(0) << qint64(1000) << 0;
        QTest::newRow("half") << qint64(500) << qint64(1000) << 50;
        QTest::newRow("rounded-up end is full") << qint64(260) << qint64(257) << 100;
        // 100 x sent does not fit 32 bits for large files.
        QTest::newRow("large file") << qint64(4000000000LL) << qint64(4294967295LL) << 93;
    }
    void progress() {
        QFETCH(qint64, sent);
        QFETCH(qint64, size);
        QFETCH(int, position);
        QCOMPARE(lmk::UploadOperation::progressFor(sent, size), position);
    }

    void taskEntryText_data() {
        QTest::addColumn<quint32>("a");
        QTest::addColumn<quint32>("b");
        QTest::addColumn<quint32>("c");
        QTest::addColumn<QString>("text");
        QTest::newRow("four digits") << 0x1A2Bu << 0x0003u << 0x0000u << "1A2B  0003  0000";
        QTest::newRow("five digits") << 0x12345u << 0x0003u << 0x00F0u << "12345  0003  00F0";
        QTest::newRow("eight digits") << 0xDEADBEEFu << 0u << 1u << "DEADBEEF  0000  0001";
    }
    void taskEntryText() {
        QFETCH(quint32, a);
        QFETCH(quint32, b);
        QFETCH(quint32, c);
        QFETCH(QString, text);
        QCOMPARE(lmk::upload::taskEntryText(a, b, c), text);
    }

    void taskList_data() {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QStringList>("entries");
        QList<std::array<quint32, 3>> many;
        for (quint32 i = 0; i < 42; ++i)
            many.append({i, i + 1, 0x100 + i});
        QStringList first41;
        for (quint32 i = 0; i < 41; ++i)
            first41 << lmk::upload::taskEntryText(i, i + 1, 0x100 + i);
        const QStringList none{QStringLiteral("No Tasks found!")};
        QTest::newRow("7 bytes") << taskReply({}, 7) << false << QStringList();
        QTest::newRow("8 bytes") << taskReply({}, 8) << true << none;
        QTest::newRow("19 bytes") << taskReply({}, 19) << true << none;
        QTest::newRow("20 bytes") << taskReply({{0x1A2B, 0x0003, 0x0000}}) << true
                                  << QStringList{"1A2B  0003  0000"};
        QTest::newRow("31 bytes: one record")
            << taskReply({{1, 2, 3}}, 31) << true << QStringList{"0001  0002  0003"};
        QTest::newRow("508 bytes: 41 tasks") << taskReply(many, 508) << true << first41;
        QTest::newRow("509 bytes") << taskReply(many, 509) << false << QStringList();
        QTest::newRow("id 0x12345")
            << taskReply({{0x12345, 3, 0xF0}}) << true << QStringList{"12345  0003  00F0"};
    }
    void taskList() {
        QFETCH(QByteArray, payload);
        QFETCH(bool, read);
        QFETCH(QStringList, entries);
        const auto got = decodeTaskList(reinterpret_cast<const quint8 *>(payload.constData()),
                                        int(payload.size()));
        QCOMPARE(got.has_value(), read);
        if (read)
            QCOMPARE(*got, entries);
    }
};

QTEST_MAIN(TstUploadCodec)
#include "tst_uploadcodec.moc"
