#include "database/JetFile.h"

#include "database/ArticleTables.h"
#include "host/Windows1252.h"

#include <iconv.h>
#include <sys/stat.h>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cstdint>

namespace lumera {

namespace {

constexpr qint64 kVersionOffset = 0x14;
constexpr qint64 kHeaderSize = kVersionOffset + 4;
// Page 0 is the header, page 1 a free-space map, page 2 the system catalog.
constexpr qint64 kMinimumPages = 3;
constexpr qint64 kJet3PageSize = 2048;
constexpr qint64 kLaterPageSize = 4096;
// Format versions after Jet 4 are the ACE formats of .accdb files.
constexpr quint32 kLastKnownVersion = MDB_VER_ACCDB_2019;

// The system catalog, MSysObjects, always starts on this page. Its Type
// column holds the object type in the low bits, its Id column the page of
// the object's definition in the low three bytes.
constexpr guint32 kCatalogPage = 2;
constexpr int kObjectTypeMask = 0x7F;
constexpr quint32 kObjectPageMask = 0x00FFFFFF;
// A usage map of this type lists the pages that hold its bitmaps.
constexpr unsigned char kPagedUsageMap = 1;
// A page row reference: page number above, row number in the low byte.
constexpr int kRowBits = 8;
constexpr quint32 kRowMask = 0xFF;
// The General sort order (locale 1033), the one JetTextIndex knows.
constexpr guint16 kGeneralSortOrder = 0x0409;
// Jet allows 32 indexes a table; more is a damaged definition.
constexpr guint kMostIndexes = 32;
// An index that only refers to another table's.
constexpr unsigned char kForeignKeyIndex = 2;
// A data page names the definition page of the table that owns it here.
constexpr int kDataPageOwnerOffset = 4;
// A row's offset in the page's row table carries flags in its top bits.
constexpr int kRowOffsetMask = 0x1fff;
// A memo field is a 12-byte reference: its length with two flags (text in the
// row itself, or in one row of another page), then the first row of its text.
constexpr int kMemoReferenceSize = 12;
constexpr quint32 kMemoInRow = 0x80000000;
constexpr quint32 kMemoInOnePageRow = 0x40000000;
constexpr quint32 kMemoLengthMask = 0x3FFFFFFF;
// libmdb follows a memo over several pages only up to this length.
constexpr quint32 kLongestMultiPageMemo = 0x00FFFFFF;
// Every row of a memo over several pages starts with the reference of the next.
constexpr std::size_t kNextRowSize = 4;

DatabaseError truncatedOrDamaged(const QString& path) {
    return databaseerrors::cannotOpen(path,
                                      QStringLiteral("o arquivo está truncado ou danificado"));
}

// Room for a value of rawBytes stored bytes once it is UTF-8: a stored byte
// becomes at most two UTF-8 bytes (three leaves a margin).
std::size_t bindSizeFor(qint64 rawBytes) {
    return std::max<std::size_t>(MDB_BIND_SIZE, static_cast<std::size_t>(rawBytes) * 3 + 16);
}

}  // namespace

bool JetFile::recognizes(const QByteArray& header) {
    // The signature follows four bytes of the first page.
    const auto signed_ = [&header](const char* signature) {
        return header.mid(4).startsWith(QByteArray(signature) + '\0');
    };
    return signed_("Standard Jet DB") || signed_("Standard ACE DB");
}

JetFile::JetFile(const QString& path) : path_(path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw databaseerrors::cannotOpen(path, file.errorString());
    const QByteArray header = file.read(kHeaderSize);
    if (header.size() < kHeaderSize || !recognizes(header)) {
        throw databaseerrors::cannotOpen(
            path, QStringLiteral("o arquivo não é uma base de dados do Access"));
    }
    const quint32 version = qFromLittleEndian<quint32>(header.constData() + kVersionOffset);
    if (version > kLastKnownVersion) {
        throw databaseerrors::cannotOpen(
            path, QStringLiteral("a versão %1 do formato Access não é conhecida").arg(version));
    }
    // libmdb takes the page size from the version alone; the file must hold
    // whole pages, and at least the ones every file has.
    pageSize_ = version == MDB_VER_JET3 ? kJet3PageSize : kLaterPageSize;
    const qint64 size = file.size();
    if (size % pageSize_ != 0 || size < kMinimumPages * pageSize_) throw truncatedOrDamaged(path);
    pageCount_ = size / pageSize_;
    file.close();

    mdb_ = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!mdb_) throw truncatedOrDamaged(path);
    mdb_stats_on(mdb_);
    try {
        useExactDecoding();
        readCatalog();
    } catch (...) {
        mdb_close(mdb_);
        throw;
    }
}

JetFile::~JetFile() { mdb_close(mdb_); }

bool JetFile::holdsPage(quint32 page) const {
    return page > 0 && static_cast<qint64>(page) < pageCount_;
}

JetFileStamp JetFile::stamp() const {
    struct stat info {};
    if (fstat(fileno(mdb_->f->stream), &info) != 0) throw damaged();
    constexpr qint64 kNanoseconds = 1000000000;
    return {static_cast<qint64>(info.st_size),
            static_cast<qint64>(info.st_mtim.tv_sec) * kNanoseconds + info.st_mtim.tv_nsec,
            static_cast<quint32>(QChar::currentUnicodeVersion())};
}

quint64 JetFile::pagesRead() const { return mdb_->stats->pg_reads; }

bool JetFile::isJet3() const { return mdb_->f->jet_version == MDB_VER_JET3; }

DatabaseError JetFile::damaged() const {
    return databaseerrors::cannotRead(path_,
                                      QStringLiteral("o arquivo está truncado ou danificado"));
}

// Jet 4 stores UTF-16; UTF-16LE rather than libmdb's UCS-2LE keeps characters
// outside the BMP. Jet 3 bytes pass through as Latin-1 and are decoded
// afterwards as Windows-1252, the code page of Portuguese editions, with the
// five bytes iconv leaves undefined kept as Windows keeps them instead of
// turning into '?'.
void JetFile::useExactDecoding() {
    const char* stored = isJet3() ? "ISO-8859-1" : "UTF-16LE";
    const iconv_t in = iconv_open("UTF-8", stored);
    const iconv_t out = iconv_open(stored, "UTF-8");
    const auto failed = reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));
    if (in == failed || out == failed) {
        if (in != failed) iconv_close(in);
        if (out != failed) iconv_close(out);
        throw databaseerrors::cannotOpen(
            path_, QStringLiteral("a conversão de texto %1 não está disponível")
                       .arg(QString::fromLatin1(stored)));
    }
    mdb_iconv_close(mdb_);
    mdb_->iconv_in = in;
    mdb_->iconv_out = out;
}

// The catalog is read here rather than by mdb_read_catalog, which also parses
// every object's property blob and can loop on a damaged one.
void JetFile::readCatalog() {
    MdbCatalogEntry catalog{};
    catalog.mdb = mdb_;
    catalog.object_type = MDB_TABLE;
    catalog.table_pg = kCatalogPage;
    JetTableReader reader(*this, &catalog, QStringLiteral("MSysObjects"));
    const int id = reader.requireColumn(QStringLiteral("Id"));
    const int name = reader.requireColumn(QStringLiteral("Name"));
    const int type = reader.requireColumn(QStringLiteral("Type"));
    while (reader.next()) {
        if ((reader.value(type).value_or(QString()).toInt() & kObjectTypeMask) != MDB_TABLE)
            continue;
        auto entry = std::make_unique<MdbCatalogEntry>();
        entry->mdb = mdb_;
        entry->object_type = MDB_TABLE;
        entry->table_pg = reader.value(id).value_or(QString()).toUInt() & kObjectPageMask;
        tables_.push_back({reader.value(name).value_or(QString()), std::move(entry)});
    }
}

MdbCatalogEntry* JetFile::table(const QString& name) const {
    for (const CatalogTable& table : tables_) {
        if (table.name.compare(name, Qt::CaseInsensitive) != 0) continue;
        if (!holdsPage(static_cast<quint32>(table.entry->table_pg))) throw damaged();
        return table.entry.get();
    }
    throw databaseerrors::missingTable(path_, name);
}

TableDefinition JetFile::readTable(MdbCatalogEntry* entry) const {
    TableDefinition table(mdb_read_table(entry));
    if (!table || table->map_sz == 0) throw damaged();
    // mdb_read_table leaves the definition page in pg_buf; it names the row
    // that holds the usage map.
    if (mdb_read_pg(mdb_, entry->table_pg) != pageSize_) throw damaged();
    const auto mapRow =
        static_cast<quint32>(mdb_get_int32(mdb_->pg_buf, mdb_->fmt->tab_usage_map_offset));
    if (!holdsPage(mapRow >> kRowBits)) throw damaged();
    return table;
}

quint32 JetFile::rowCount(const QString& name) const { return readTable(table(name))->num_rows; }

// libmdb reads a map of pages (usage map type 1) again for every page it
// finds there: about 15 ms for the Fotos table of 100,000 articles. So this
// is done only before a walk, which costs that much anyway, and not for a
// query that reads its rows by location.
void JetFile::checkDataPages(const MdbTableDef& table) const {
    const unsigned char* map = table.usage_map;
    if (map[0] == kPagedUsageMap) {
        for (std::size_t at = 1; at + 4 <= table.map_sz; at += 4) {
            const auto mapPage = qFromLittleEndian<quint32>(map + at);
            if (mapPage != 0 && !holdsPage(mapPage)) throw damaged();
        }
    }
    guint32 page = 0;
    for (;;) {
        const gint32 next =
            mdb_map_find_next(mdb_, table.usage_map, static_cast<unsigned int>(table.map_sz), page);
        if (next == 0) return;
        if (next < 0 || !holdsPage(static_cast<quint32>(next))) throw damaged();
        page = static_cast<guint32>(next);
    }
}

QString JetFile::decode(const QByteArray& converted) const {
    const QString text = QString::fromUtf8(converted);
    return isJet3() ? windows1252::decode(text.toLatin1()) : text;
}

JetTableReader::JetTableReader(const JetFile& file, const QString& tableName)
    : JetTableReader(file, file.table(tableName), tableName) {}

JetTableReader::JetTableReader(const JetFile& file, MdbCatalogEntry* entry, QString tableName)
    : file_(file),
      mdb_(file.handle()),
      tableName_(std::move(tableName)),
      table_(file.readTable(entry)) {
    if (!mdb_read_columns(table_.get())) throw file.damaged();
    indexDefinitionPage_ = mdb_->cur_pg;
    for (guint i = 0; i < table_->num_cols; ++i) {
        columns_.append(file.decode(column(static_cast<int>(i))->name));
    }
    fields_.resize(table_->num_cols);
    mdb_rewind_table(table_.get());
}

int JetTableReader::findColumn(const QString& name) const {
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    }
    return -1;
}

int JetTableReader::requireColumn(const QString& name) const {
    const int index = findColumn(name);
    if (index < 0) throw databaseerrors::missingColumn(file_.path(), tableName_, name);
    return index;
}

bool JetTableReader::next() {
    if (!pagesChecked_) {
        file_.checkDataPages(*table_);
        pagesChecked_ = true;
    }
    if (!mdb_fetch_row(table_.get())) return false;
    if (!crackCurrentRow()) throw file_.damaged();
    return true;
}

void JetTableReader::rewind() { mdb_rewind_table(table_.get()); }

// mdb_fetch_row and mdb_read_row leave the row's page in pg_buf and point
// past the row; cracking the row again tells a NULL from empty text, which
// the values libmdb binds do not.
bool JetTableReader::crackCurrentRow() {
    int start = 0;
    size_t size = 0;
    return mdb_find_row(mdb_, static_cast<int>(table_->cur_row) - 1, &start, &size) == 0 &&
           mdb_crack_row(table_.get(), start & kRowOffsetMask, size, fields_.data()) >= 0;
}

quint32 JetTableReader::location() const {
    return (table_->cur_phys_pg << kRowBits) | ((table_->cur_row - 1) & kRowMask);
}

bool JetTableReader::moveTo(quint32 location) {
    const quint32 page = location >> kRowBits;
    const quint32 row = location & kRowMask;
    // The checks mdb_fetch_row makes of every page it takes from the usage
    // map; mdb_read_row then skips the rows the walk skips.
    if (!file_.holdsPage(page) || mdb_read_pg(mdb_, page) != file_.pageSize() ||
        mdb_->pg_buf[0] != MDB_PAGE_DATA ||
        static_cast<quint32>(mdb_get_int32(mdb_->pg_buf, kDataPageOwnerOffset)) !=
            definitionPage() ||
        row >= static_cast<quint32>(mdb_get_int16(mdb_->pg_buf, mdb_->fmt->row_count_offset)) ||
        !mdb_read_row(table_.get(), row)) {
        return false;
    }
    table_->cur_phys_pg = page;
    table_->cur_row = row + 1;
    return crackCurrentRow();
}

quint32 JetTableReader::textIndexRoot(int column) {
    if (mdb_->f->jet_version != MDB_VER_JET4 || mdb_->f->lang_id != kGeneralSortOrder) return 0;
    // libmdb reads as many index definitions as the table definition claims.
    if (table_->num_idxs > kMostIndexes || table_->num_real_idxs > table_->num_idxs) return 0;
    if (!table_->indices) {
        // mdb_read_indices goes on from where mdb_read_columns stopped.
        if (mdb_read_pg(mdb_, indexDefinitionPage_) != file_.pageSize()) return 0;
        mdb_read_indices(table_.get());
    }
    for (guint i = 0; table_->indices && i < table_->indices->len; ++i) {
        const auto* index = static_cast<const MdbIndex*>(g_ptr_array_index(table_->indices, i));
        if (index->index_type != kForeignKeyIndex && index->num_keys == 1 &&
            index->key_col_num[0] == column + 1 && index->key_col_order[0] == MDB_ASC &&
            file_.holdsPage(index->first_pg)) {
            return index->first_pg;
        }
    }
    return 0;
}

quint32 JetTableReader::definitionPage() const {
    return static_cast<quint32>(table_->entry->table_pg);
}

StoredText JetTableReader::value(int index) {
    const MdbColumn* col = column(index);
    const MdbField& field = fields_[static_cast<std::size_t>(index)];
    // A Yes/No value lives in the NULL bit itself.
    if (col->col_type == MDB_BOOL) return QString(field.is_null ? u'0' : u'1');
    if (field.is_null) return std::nullopt;
    if (field.siz < 0 || field.start < 0 || field.start + field.siz > file_.pageSize()) {
        throw file_.damaged();
    }
    switch (col->col_type) {
        case MDB_MEMO:
            return memo(field);
        case MDB_TEXT:
            return file_.decode(converted(MDB_TEXT, field, bindSizeFor(field.siz)));
        case MDB_OLE:
        case MDB_BINARY:
            // Binary values have no text.
            return QString();
        default:
            // Numbers and dates come out as plain ASCII.
            return QString::fromUtf8(converted(col->col_type, field, bindSizeFor(field.siz)));
    }
}

MdbColumn* JetTableReader::column(int index) const {
    return static_cast<MdbColumn*>(g_ptr_array_index(table_->columns, index));
}

// libmdb cuts text at its bind size, so the size is set per value to what the
// value can need; a value that still fills it was cut and is refused.
QByteArray JetTableReader::converted(int type, const MdbField& field, std::size_t bindSize) {
    mdb_set_bind_size(mdb_, bindSize);
    char* text = mdb_col_to_string(mdb_, mdb_->pg_buf, field.start, type, field.siz);
    const QByteArray bytes(text ? text : "");
    g_free(text);
    mdb_set_bind_size(mdb_, MDB_BIND_SIZE);
    if (static_cast<std::size_t>(bytes.size()) + 1 >= bindSize) throw file_.damaged();
    return bytes;
}

QString JetTableReader::memo(const MdbField& field) {
    if (field.siz < kMemoReferenceSize) return QString();
    const auto reference = static_cast<quint32>(mdb_get_int32(mdb_->pg_buf, field.start));
    const quint32 length = reference & kMemoLengthMask;
    const bool inOneRow = (reference & (kMemoInRow | kMemoInOnePageRow)) != 0;
    if (!inOneRow && length > kLongestMultiPageMemo) throw file_.damaged();
    if ((reference & kMemoInRow) == 0) checkMemoRows(field, reference, length);
    const qint64 rawBound = inOneRow ? file_.pageSize() : length;
    return file_.decode(converted(MDB_MEMO, field, bindSizeFor(rawBound)));
}

// libmdb reads a memo whose rows are missing as empty or short text, and
// follows rows that loop back without end; so the chain of rows is walked
// first, and must lie inside the file and hold exactly the memo's length.
void JetTableReader::checkMemoRows(const MdbField& field, quint32 reference, quint32 length) const {
    auto row = static_cast<quint32>(mdb_get_int32(mdb_->pg_buf, field.start + 4));
    quint32 carried = 0;
    do {
        void* page = nullptr;
        int start = 0;
        size_t size = 0;
        if (!file_.holdsPage(row >> kRowBits) ||
            mdb_find_pg_row(mdb_, static_cast<int>(row), &page, &start, &size) != 0) {
            throw file_.damaged();
        }
        if (reference & kMemoInOnePageRow) return;
        if (size <= kNextRowSize || size - kNextRowSize > length - carried) throw file_.damaged();
        carried += static_cast<quint32>(size - kNextRowSize);
        row = static_cast<quint32>(mdb_get_int32(page, start));
    } while (row != 0);
    if (carried != length) throw file_.damaged();
}

}  // namespace lumera
