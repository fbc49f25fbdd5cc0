#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

struct mscab_decompressor;
struct mscabd_cabinet;
struct mscabd_file;

namespace lumera {

// A Microsoft Cabinet file (.cab), as the installers of the CD's time packed
// the files they copied to the disk; read with libmspack. A damaged cabinet
// lists what it can and fails to extract, never more.
class Cabinet {
  public:
    // Nothing when the file is no cabinet.
    static std::unique_ptr<Cabinet> open(const QString& path);
    ~Cabinet();
    Cabinet(const Cabinet&) = delete;
    Cabinet& operator=(const Cabinet&) = delete;

    // The stored names, folders included ("Lumera\lex.mdb"), in stored order.
    QStringList names() const;
    // The size the cabinet declares for the first file stored under name; -1
    // when it is not there.
    qint64 sizeOf(const QString& name) const;

    enum class Extraction { Done, Missing, Damaged, CannotWrite };
    // Writes the first file stored under name to target; a failure leaves no
    // target behind.
    Extraction extract(const QString& name, const QString& target) const;

  private:
    Cabinet(mscab_decompressor* decompressor, const QByteArray& path);
    mscabd_file* stored(const QString& name) const;

    mscab_decompressor* decompressor_;
    // libmspack keeps the name and opens the file again to extract.
    QByteArray path_;
    mscabd_cabinet* cabinet_ = nullptr;
};

}  // namespace lumera
