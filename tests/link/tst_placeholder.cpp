#include <QtTest>
class TstPlaceholder : public QObject { Q_OBJECT private slots: void builds() { QVERIFY(true); } };
QTEST_MAIN(TstPlaceholder)
#include "tst_placeholder.moc"
