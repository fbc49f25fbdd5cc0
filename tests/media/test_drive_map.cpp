// Drive letters to directories: case, 8.3 names, and nothing outside.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "media/DriveMap.h"
#include "media/DriveSetup.h"
#include "support/DiscImages.h"
#include "support/FileBytes.h"

using namespace lumera;
using namespace lumera::testing;
using namespace Qt::StringLiterals;

class DriveMapTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void resolvesPaths();
    void mappingsFromOptionsAndEnvironment();
    void findsAMountedMedium();
    void readsDiscImages();

  private:
    QString local(const QString& relative) const {
        return relative.isEmpty() ? QString()
                                  : QFileInfo(tmp_.filePath(relative)).canonicalFilePath();
    }
    QTemporaryDir tmp_;
    DriveMap drives_;
};

void DriveMapTest::initTestCase() {
    // An ISO 9660 disc keeps its names in capitals.
    for (const QString& file :
         {u"cd/LEX2000/JOIA.HTM"_s, u"cd/LEX2000/FOTOS/BRASIL.HTM"_s,
          u"cd/LEX2000/FOTOS/straße.htm"_s, u"cd/LEX2000/tomo98a/São Paulo.htm"_s,
          u"c/Program Files/Lex/lex.mdb"_s, u"c/Programa Velho/x.txt"_s,
          u"c/Arquivos de programas/Lex/modelo-final.htm"_s, u"install/vf.htm"_s,
          u"secret.txt"_s}) {
        QVERIFY(QDir(tmp_.path()).mkpath(QFileInfo(file).path()));
        QVERIFY(writeBytes(tmp_.filePath(file), "x"));
    }
    // Symbolic links inside the CD that lead out of it.
    QVERIFY(QFile::link(tmp_.filePath(u"secret.txt"_s), tmp_.filePath(u"cd/LEX2000/link.htm"_s)));
    QVERIFY(QFile::link(tmp_.path(), tmp_.filePath(u"cd/LEX2000/up"_s)));
    QVERIFY(drives_.map(u'd', tmp_.filePath(u"cd"_s)));
    QVERIFY(drives_.map(u'C', tmp_.filePath(u"c"_s)));
    drives_.allowDirectory(tmp_.filePath(u"install"_s));
}

void DriveMapTest::resolvesPaths() {
    const QString install = tmp_.filePath(u"install"_s);
    const QString nul(QChar(u'\0'));
    const struct {
        QString path;
        QString existing;  // relative to the temporary folder; empty: refused
        QString writable;  // the same, for a file to write
    } rows[] = {
        {u"D:\\lex2000\\joia.htm"_s, u"cd/LEX2000/JOIA.HTM"_s, u"cd/LEX2000/JOIA.HTM"_s},
        {u"d:/lex2000/joia.htm"_s, u"cd/LEX2000/JOIA.HTM"_s, u"cd/LEX2000/JOIA.HTM"_s},
        {u"D:/LEX2000/FOTOS/BRASIL.htm"_s, u"cd/LEX2000/FOTOS/BRASIL.HTM"_s,
         u"cd/LEX2000/FOTOS/BRASIL.HTM"_s},
        {u"D:/LEX2000/FOTOS/STRAßE.htm"_s, u"cd/LEX2000/FOTOS/straße.htm"_s,
         u"cd/LEX2000/FOTOS/straße.htm"_s},  // a media link, upper-cased letter by letter
        {u"file:///D:/lex2000/joia.htm"_s, u"cd/LEX2000/JOIA.HTM"_s, u"cd/LEX2000/JOIA.HTM"_s},
        {u"file:///D:/lex2000/tomo98a/S%C3%A3o%20Paulo.htm"_s,
         u"cd/LEX2000/tomo98a/São Paulo.htm"_s, u"cd/LEX2000/tomo98a/São Paulo.htm"_s},
        {u"D:\\LEX2000\\TOMO98A\\SÃO PAULO.HTM"_s, u"cd/LEX2000/tomo98a/São Paulo.htm"_s,
         u"cd/LEX2000/tomo98a/São Paulo.htm"_s},
        {u"C:\\progra~1\\Lex\\lex.mdb"_s, u"c/Program Files/Lex/lex.mdb"_s,
         u"c/Program Files/Lex/lex.mdb"_s},
        {u"C:\\PROGRA~2\\x.txt"_s, u"c/Programa Velho/x.txt"_s, u"c/Programa Velho/x.txt"_s},
        {u"C:\\Arquiv~1\\Lex\\modelo-final.htm"_s,
         u"c/Arquivos de programas/Lex/modelo-final.htm"_s,
         u"c/Arquivos de programas/Lex/modelo-final.htm"_s},
        {u"D:\\lex2000\\fotos\\..\\joia.htm"_s, u"cd/LEX2000/JOIA.HTM"_s, u"cd/LEX2000/JOIA.HTM"_s},
        {u"D:\\lex2000\\nada.htm"_s, {}, u"cd/LEX2000/nada.htm"_s},  // written by its own name
        {u"E:\\lex2000\\joia.htm"_s, {}, {}},                        // unmapped
        {u"C:\\progra~1\\LEX\\vf.htm"_s, {}, u"c/Program Files/Lex/vf.htm"_s},
        {u"C:\\nowhere\\vf.htm"_s, {}, {}},
        {u"C:\\..\\vf.htm"_s, {}, {}},
        {u"D:\\..\\secret.txt"_s, {}, {}},
        {u"D:/lex2000/../../secret.txt"_s, {}, {}},
        {u"file:///D:/%2E%2E/secret.txt"_s, {}, {}},
        {u"file:///D:/..%2Fsecret.txt"_s, {}, {}},
        {u"D:\\lex2000\\link.htm"_s, {}, {}},
        {u"D:\\lex2000\\up\\secret.txt"_s, {}, {}},
        {tmp_.filePath(u"secret.txt"_s), {}, {}},  // POSIX paths outside every allowed folder
        {tmp_.filePath(u"cd/../secret.txt"_s), {}, {}},
        {u"/etc/passwd"_s, {}, {}},
        {install + u"/vf.htm"_s, u"install/vf.htm"_s, u"install/vf.htm"_s},
        {u"file://"_s + install + u"/vf.htm"_s, u"install/vf.htm"_s, u"install/vf.htm"_s},
        {install + u"/../secret.txt"_s, {}, {}},
        // A NUL would cut the name where the file system reads it.
        {u"D:\\lex2000\\joia.htm"_s + nul + u".txt"_s, {}, {}},
        {tmp_.filePath(u"cd/LEX2000/novo"_s) + nul, {}, {}},
        {u"file:////D:/lex2000/joia%00.txt"_s, {}, {}},
        {u"file://"_s + tmp_.filePath(u"cd/LEX2000/novo%00"_s), {}, {}},
    };
    // Named to the user absolute, found or not.
    QCOMPARE(drives_.absolutePath(u"C:\\nowhere\\"_s), local(u"c"_s) + u"/nowhere"_s);
    QCOMPARE(drives_.absolutePath(u"./"_s), QDir::currentPath());
    QTest::failOnWarning(QRegularExpression(u"Broken filename"_s));
    for (const auto& row : rows) {
        QCOMPARE(drives_.existingFile(row.path), local(row.existing));
        const QString writable = drives_.writableFile(row.path);
        QCOMPARE(writable, row.writable.isEmpty() ? QString()
                                                  : local(QFileInfo(row.writable).path()) + u'/' +
                                                        QFileInfo(row.writable).fileName());
    }
}

void DriveMapTest::mappingsFromOptionsAndEnvironment() {
    DriveMap map;
    const QString cd = tmp_.filePath(u"cd"_s);
    qputenv("LUMERA_DRIVES",
            (u"D:="_s + tmp_.filePath(u"c"_s) + u";G:="_s + cd + u";bad"_s).toUtf8());
    const QStringList problems = MapDrives(map, {u"D:="_s + cd, u"H:=/nonexistent/lumera"_s});
    qunsetenv("LUMERA_DRIVES");
    QCOMPARE(problems.size(), 2);  // H: has no folder, "bad" is no mapping
    // The command line comes before the environment.
    QCOMPARE(map.directoryOf(u'D'), local(u"cd"_s));
    QCOMPARE(map.directoryOf(u'G'), local(u"cd"_s));
}

void DriveMapTest::findsAMountedMedium() {
    const QString media = tmp_.filePath(u"media"_s);
    QDir().mkpath(media + u"/usb/stick"_s);
    QVERIFY(QDir().mkpath(media + u"/user/LUMERA2002/LEX2000"_s));
    QVERIFY(writeBytes(media + u"/user/LUMERA2002/LEX2000/JOIA.HTM"_s, "x"));
    DriveMap map;
    QCOMPARE(map.mapMountedMedium(u'D', {media}), local(u"media/user/LUMERA2002"_s));
    QVERIFY(!map.existingFile(u"D:\\lex2000\\joia.htm"_s).isEmpty());
    DriveMap none;
    QVERIFY(none.mapMountedMedium(u'D', {tmp_.filePath(u"c"_s)}).isEmpty());
    QVERIFY(!LocateContent(none, u"./"_s, u"E:"_s).isEmpty());
}

// A CD as an image: Joliet and Rock Ridge names, or plain ISO 9660 ones.
// Each file holds its own path, and one spans many sectors.
void DriveMapTest::readsDiscImages() {
    QByteArray large;
    for (int i = 0; large.size() < 300000; ++i) large += QByteArray::number(i) + ' ';
    const QString tree = tmp_.filePath(u"disc"_s);
    for (const QString& file :
         {u"LEX2000/JOIA.HTM"_s, u"LEX2000/FOTOS/BRASIL.HTM"_s, u"LEX2000/tomo98a/São Paulo.htm"_s,
          u"LEX2000/Página longa.htm"_s, u"LEX2000/atlas/mundo/europa/Lisboa à noite.htm"_s}) {
        QVERIFY(QDir().mkpath(QFileInfo(tree + u'/' + file).path()));
        QVERIFY(writeBytes(tree + u'/' + file, file.toUtf8()));
    }
    QVERIFY(writeBytes(tree + u"/LEX2000/FILME.AVI"_s, large));
    QVERIFY(makeDiscImage(tree, tmp_.filePath(u"long.iso"_s), {u"-J"_s, u"-R"_s}));
    QVERIFY(makeDiscImage(tree, tmp_.filePath(u"plain.iso"_s), {u"-iso-level"_s, u"1"_s}));
    QVERIFY(makeDiscImage(tree, tmp_.filePath(u"joliet.iso"_s), {u"-J"_s, u"--norock"_s}));
    // Copies with Joliet records changed: names that make no text (a lone
    // surrogate), which fall back to the entry's other name, and a film whose
    // extent runs past the end of the image.
    const auto lone = [](char* record, quint32) { record[33] = char(0xD8), record[34] = 0; };
    const struct {
        QString from, to, name;
        std::function<void(char*, quint32)> change;
    } changes[] = {
        {u"joliet.iso"_s, u"bad.iso"_s, u"Página longa.htm"_s, lone},
        {u"bad.iso"_s, u"bad.iso"_s, u"tomo98a"_s, lone},
        {u"long.iso"_s, u"badrr.iso"_s, u"Página longa.htm"_s, lone},
        {u"long.iso"_s, u"past.iso"_s, u"FILME.AVI"_s,
         [](char* record, quint32 sectors) {
             qToLittleEndian(sectors - 9, record + 2);
             qToBigEndian(sectors - 9, record + 6);
         }},
    };
    for (const auto& change : changes) {
        QByteArray image = readBytes(tmp_.filePath(change.from));
        QVERIFY(changeJolietRecord(image, change.name, [&](char* record) {
            change.change(record, quint32(image.size() / 2048));
        }));
        QVERIFY(writeBytes(tmp_.filePath(change.to), image));
    }
    QVERIFY(writeBytes(tmp_.filePath(u"not.iso"_s), QByteArray(64 * 1024, 'x')));
    // The same as a BIN of raw 2,352-byte sectors (sync, header, data, no
    // correction codes), and a CUE sheet naming it.
    const QByteArray iso = readBytes(tmp_.filePath(u"long.iso"_s));
    QByteArray bin;
    for (qsizetype at = 0; at < iso.size(); at += 2048) {
        bin += QByteArray("\0\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\0\0\x02\0\x01", 16) +
               iso.mid(at, 2048) + QByteArray(288, '\0');
    }
    QVERIFY(writeBytes(tmp_.filePath(u"raw.bin"_s), bin));
    QVERIFY(writeBytes(tmp_.filePath(u"raw.cue"_s),
                       "FILE \"raw.bin\" BINARY\n  TRACK 01 MODE1/2352\n"));
    DriveMap map;
    QVERIFY(map.map(u'H', tmp_.filePath(u"raw.bin"_s)));
    QVERIFY(map.map(u'I', tmp_.filePath(u"raw.cue"_s)));
    QVERIFY(map.map(u'E', tmp_.filePath(u"long.iso"_s)));
    QVERIFY(map.map(u'F', tmp_.filePath(u"plain.iso"_s)));
    for (const auto& [drive, image] :
         {std::pair(u'J', u"joliet.iso"_s), std::pair(u'K', u"bad.iso"_s),
          std::pair(u'L', u"badrr.iso"_s), std::pair(u'M', u"past.iso"_s)})
        QVERIFY(map.map(drive, tmp_.filePath(image)));
    // CUE sheets: the data file's name quoted or not, in any case, but never a
    // path, though one leads to a copy of the BIN (a name holding a backslash
    // is a file of its own here).
    QVERIFY(QDir().mkpath(tmp_.filePath(u"cue/sub"_s)));
    for (const QString& copy : {u"cue/good.bin"_s, u"cue/sub/good.bin"_s, u"cue/sub\\good.bin"_s,
                                u"cue/..\\good.bin"_s, u"cue/C:\\good.bin"_s, u"good.bin"_s})
        QVERIFY(QFile::copy(tmp_.filePath(u"raw.bin"_s), tmp_.filePath(copy)));
    const struct {
        QString name;
        QChar drive;  // null: refused
    } sheets[] = {
        {u"good.bin"_s, u'N'},       {u"\"GOOD.BIN\""_s, u'O'},
        {u"\"sub/good.bin\""_s, {}}, {u"\"sub\\good.bin\""_s, {}},
        {u"\"..\\good.bin\""_s, {}}, {u"\"../good.bin\""_s, {}},
        {u"\"C:\\good.bin\""_s, {}}, {u'"' + tmp_.filePath(u"good.bin"_s) + u'"', {}},
    };
    for (const auto& sheet : sheets) {
        const QString cue = tmp_.filePath(u"cue/disc.cue"_s);
        QVERIFY(
            writeBytes(cue, "FILE " + sheet.name.toUtf8() + " BINARY\n  TRACK 01 MODE1/2352\n"));
        QVERIFY2(map.map(sheet.drive.isNull() ? u'Z' : sheet.drive, cue) == !sheet.drive.isNull(),
                 qPrintable(sheet.name));
    }
    QVERIFY(!map.map(u'G', tmp_.filePath(u"not.iso"_s)));
    const struct {
        QString path;
        QByteArray bytes;  // empty: no file to read
    } rows[] = {
        {u"E:\\lex2000\\joia.htm"_s, "LEX2000/JOIA.HTM"},
        {u"e:/LEX2000/fotos/brasil.htm"_s, "LEX2000/FOTOS/BRASIL.HTM"},
        {u"E:\\LEX2000\\TOMO98A\\SÃO PAULO.HTM"_s, "LEX2000/tomo98a/São Paulo.htm"},
        {u"E:\\LEX2000\\PÁGINA~1.HTM"_s, "LEX2000/Página longa.htm"},
        {u"E:\\lex2000\\fotos\\..\\joia.htm"_s, "LEX2000/JOIA.HTM"},
        {u"E:\\lex2000\\filme.avi"_s, large},
        {u"F:\\lex2000\\joia.htm"_s, "LEX2000/JOIA.HTM"},
        {u"H:\\lex2000\\filme.avi"_s, large},
        {u"I:\\LEX2000\\FOTOS\\BRASIL.HTM"_s, "LEX2000/FOTOS/BRASIL.HTM"},
        {u"F:\\LEX2000\\FOTOS\\BRASIL.HTM"_s, "LEX2000/FOTOS/BRASIL.HTM"},
        {u"J:\\LEX2000\\TOMO98A\\SÃO PAULO.HTM"_s, "LEX2000/tomo98a/São Paulo.htm"},
        {u"J:\\lex2000\\página longa.htm"_s, "LEX2000/Página longa.htm"},
        {u"J:\\lex2000\\atlas\\mundo\\europa\\lisboa à noite.htm"_s,
         "LEX2000/atlas/mundo/europa/Lisboa à noite.htm"},
        {u"K:\\lex2000\\joia.htm"_s, "LEX2000/JOIA.HTM"},
        {u"K:\\lex2000\\fotos\\brasil.htm"_s, "LEX2000/FOTOS/BRASIL.HTM"},
        {u"K:\\lex2000\\p_gina_l.htm"_s, "LEX2000/Página longa.htm"},
        {u"K:\\lex2000\\tomo98a\\são paulo.htm"_s, "LEX2000/tomo98a/São Paulo.htm"},
        {u"L:\\lex2000\\página longa.htm"_s, "LEX2000/Página longa.htm"},
        {u"M:\\lex2000\\filme.avi"_s, {}},
        {u"M:\\lex2000\\joia.htm"_s, "LEX2000/JOIA.HTM"},
        {u"N:\\lex2000\\joia.htm"_s, "LEX2000/JOIA.HTM"},
        {u"O:\\lex2000\\fotos\\brasil.htm"_s, "LEX2000/FOTOS/BRASIL.HTM"},
        {u"E:\\lex2000\\nada.htm"_s, {}},
        {u"E:\\lex2000\\fotos"_s, {}},  // a folder
        {u"E:\\..\\long.iso"_s, {}},
        {u"E:\\lex2000\\joia.htm"_s + QChar(u'\0'), {}},
    };
    for (const auto& row : rows) {
        QElapsedTimer answered;
        answered.start();
        const auto device = map.openFile(row.path);
        QCOMPARE(row.path + u' ' + (device ? device->readAll() : QByteArray()),
                 row.path + u' ' + row.bytes);
        QCOMPARE(map.isFile(row.path), !row.bytes.isEmpty());
        QCOMPARE_LT(answered.elapsed(), 2000);
    }
    // Read in pieces from anywhere, as the browser streams a film.
    const auto film = map.openFile(u"E:\\lex2000\\filme.avi"_s);
    QVERIFY(film && film->seek(250000));
    QCOMPARE(film->read(7000), large.mid(250000, 7000));
    QCOMPARE(map.entryNames(u"E:\\LEX2000"_s, QDir::Dirs),
             QStringList({u"atlas"_s, u"FOTOS"_s, u"tomo98a"_s}));
    QCOMPARE(map.driveHolding(u"/lex2000/joia.htm"_s), QChar(u'E'));
}

QTEST_GUILESS_MAIN(DriveMapTest)
#include "test_drive_map.moc"
