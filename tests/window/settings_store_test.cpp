// The settings store: exact-size round trips, hand-typed values, and files that are not
// what they should be.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "settings/settings_store.h"
#include "window_fixture.h"

using namespace morvane;
using namespace morvane::test;

class TestSettingsStore : public QObject {
    Q_OBJECT
  private slots:
    void init() { m_sandbox = std::make_unique<CConfigSandbox>(); }
    void cleanup() { m_sandbox.reset(); }

    void roundTripKeepsBytesAndSize_data();
    void roundTripKeepsBytesAndSize();
    void readSucceedsOnlyAtTheStoredSize();
    void absentValueAndNoFileFail();
    void firstWriteCreatesTheFolderAndFile();
    void writeLeavesNoTemporaryFiles();
    void handTypedValues_data();
    void handTypedValues();
    void glossarySwitch_data();
    void glossarySwitch();
    void badFileMeansDefaults_data();
    void badFileMeansDefaults();
    void folderInPlaceOfTheFileMeansDefaultsAndFailedWrites();

  private:
    QString file() const { return QString::fromStdString(SettingsFilePath()); }
    void writeRaw(const QByteArray& content) {
        QDir().mkpath(QFileInfo(file()).absolutePath());
        WriteFile(file(), content.toStdString());
    }
    std::unique_ptr<CConfigSandbox> m_sandbox;
};

void TestSettingsStore::roundTripKeepsBytesAndSize_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addRow("four bytes") << QByteArray::fromHex("02000000");
    QTest::addRow("minus one") << QByteArray::fromHex("ffffffff");
    QTest::addRow("placement, 44 bytes") << QByteArray(44, '\x7f');
    QTest::addRow("zeros and high bytes") << QByteArray::fromHex("00ff0080007f0a0d3d5b");
    QTest::addRow("empty") << QByteArray();
}

void TestSettingsStore::roundTripKeepsBytesAndSize() {
    QFETCH(QByteArray, value);
    QVERIFY(WriteSetting("pl", value.constData(), static_cast<std::size_t>(value.size())));
    QByteArray back(value.size(), '\x55');
    QVERIFY(ReadSetting("pl", back.data(), static_cast<std::size_t>(back.size())));
    QCOMPARE(back, value);
}

void TestSettingsStore::readSucceedsOnlyAtTheStoredSize() {
    const char four[4] = {5, 0, 0, 0};
    WriteSetting("mode", four, 4);
    char buffer[5] = {9, 9, 9, 9, 9};
    QVERIFY(!ReadSetting("mode", buffer, 3));
    QVERIFY(!ReadSetting("mode", buffer, 5));
    QCOMPARE(buffer[0], char(9)); // a failed read leaves the buffer alone
    QVERIFY(ReadSetting("mode", buffer, 4));
    QCOMPARE(buffer[0], char(5));
}

void TestSettingsStore::absentValueAndNoFileFail() {
    std::int32_t value = 7;
    QVERIFY(!ReadSettingInt32("mode", value));
    WriteSettingInt32("GBTAB", 0);
    QVERIFY(!ReadSettingInt32("mode", value));
    QCOMPARE(value, 7);
}

void TestSettingsStore::firstWriteCreatesTheFolderAndFile() {
    QVERIFY(!QFile::exists(file()));
    QVERIFY(WriteSettingInt32("view2_1", 4));
    QVERIFY(QFile::exists(file()));
    std::int32_t value = 0;
    QVERIFY(ReadSettingInt32("view2_1", value));
    QCOMPARE(value, 4);
}

void TestSettingsStore::writeLeavesNoTemporaryFiles() {
    for (std::int32_t i = 0; i < 5; ++i)
        WriteSettingInt32("mode", i);
    const QStringList entries = QDir(QFileInfo(file()).absolutePath()).entryList(QDir::Files);
    QCOMPARE(entries, QStringList{QStringLiteral("Morvane.conf")});
}

void TestSettingsStore::handTypedValues_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<std::int32_t>("value");
    QTest::addRow("zero") << QByteArray("GBTAB=0") << true << 0;
    QTest::addRow("decimal") << QByteArray("GBTAB=3") << true << 3;
    QTest::addRow("negative") << QByteArray("GBTAB=-1") << true << -1;
    QTest::addRow("hex") << QByteArray("GBTAB=0x10") << true << 16;
    QTest::addRow("largest unsigned") << QByteArray("GBTAB=4294967295") << true << -1;
    QTest::addRow("too large") << QByteArray("GBTAB=4294967296") << false << 0;
    QTest::addRow("words") << QByteArray("GBTAB=yes") << false << 0;
    QTest::addRow("empty") << QByteArray("GBTAB=") << false << 0;
}

void TestSettingsStore::handTypedValues() {
    QFETCH(QByteArray, line);
    QFETCH(bool, readable);
    QFETCH(std::int32_t, value);
    writeRaw("[General]\n" + line + "\n");
    std::int32_t read = 12345;
    QCOMPARE(ReadSettingInt32("GBTAB", read), readable);
    if (readable)
        QCOMPARE(read, value);
}

void TestSettingsStore::glossarySwitch_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("on");
    QTest::addRow("absent") << QByteArray() << true;
    QTest::addRow("zero") << QByteArray("[General]\nGBTAB=0\n") << false;
    QTest::addRow("one") << QByteArray("[General]\nGBTAB=1\n") << true;
    QTest::addRow("any other") << QByteArray("[General]\nGBTAB=7\n") << true;
    QTest::addRow("wrong size counts as absent")
        << QByteArray("[General]\nGBTAB=@ByteArray(\\0\\0)\n") << true;
}

void TestSettingsStore::glossarySwitch() {
    QFETCH(QByteArray, content);
    QFETCH(bool, on);
    if (!content.isEmpty())
        writeRaw(content);
    QCOMPARE(ReadGlossarySwitch(), on);
}

void TestSettingsStore::badFileMeansDefaults_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addRow("truncated value") << QByteArray("[General]\nmode=@ByteArray(\\x2\\0");
    QTest::addRow("cut inside the section") << QByteArray("[Gene");
    QTest::addRow("binary garbage") << QByteArray::fromHex("00ff13a7e9c3004142ff00fe");
    QTest::addRow("text garbage") << QByteArray("mode mode mode\n===\n[[[\n");
}

void TestSettingsStore::badFileMeansDefaults() {
    QFETCH(QByteArray, content);
    writeRaw(content);
    std::int32_t mode = -7;
    QVERIFY(!ReadSettingInt32("mode", mode));
    QCOMPARE(mode, -7);
    // A later write replaces the damaged file with a sound one.
    QVERIFY(WriteSettingInt32("mode", 3));
    QVERIFY(ReadSettingInt32("mode", mode));
    QCOMPARE(mode, 3);
}

void TestSettingsStore::folderInPlaceOfTheFileMeansDefaultsAndFailedWrites() {
    QVERIFY(QDir().mkpath(file()));
    std::int32_t value = 0;
    QVERIFY(!ReadSettingInt32("mode", value));
    QVERIFY(!WriteSettingInt32("mode", 2));
    QVERIFY(QFileInfo(file()).isDir());
    QVERIFY(!ReadSettingInt32("mode", value));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "settings_store_test.moc"
