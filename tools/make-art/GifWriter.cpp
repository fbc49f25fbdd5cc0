#include "GifWriter.h"

#include <QFile>
#include <QVector>
#include <algorithm>
#include <unordered_map>

namespace lumera::art {
namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;

// Packs variable-width codes least significant bit first into the 255-byte
// sub-blocks that GIF image data is made of.
class CodeStream {
  public:
    explicit CodeStream(QByteArray* out) : out_(out) {}

    void put(int code, int width) {
        bits_ |= static_cast<quint32>(code) << bitCount_;
        bitCount_ += width;
        while (bitCount_ >= 8) {
            pushByte(static_cast<char>(bits_ & 0xFF));
            bits_ >>= 8;
            bitCount_ -= 8;
        }
    }

    void finish() {
        if (bitCount_ > 0) pushByte(static_cast<char>(bits_ & 0xFF));
        bits_ = 0;
        bitCount_ = 0;
        flushBlock();
        out_->append('\0');  // block terminator
    }

  private:
    void pushByte(char byte) {
        block_.append(byte);
        if (block_.size() == 255) flushBlock();
    }
    void flushBlock() {
        if (block_.isEmpty()) return;
        out_->append(static_cast<char>(block_.size()));
        out_->append(block_);
        block_.clear();
    }

    QByteArray* out_;
    QByteArray block_;
    quint32 bits_ = 0;
    int bitCount_ = 0;
};

void compressLzw(const QVector<uchar>& pixels, int minCodeSize, QByteArray* out) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    const int firstFree = clearCode + 2;
    CodeStream stream(out);
    std::unordered_map<int, int> table;  // (prefix code << 8 | byte) -> code
    int nextCode = firstFree;
    int width = minCodeSize + 1;

    stream.put(clearCode, width);
    int prefix = pixels.front();
    for (qsizetype i = 1; i < pixels.size(); ++i) {
        const int byte = pixels[i];
        const int key = (prefix << 8) | byte;
        if (auto found = table.find(key); found != table.end()) {
            prefix = found->second;
            continue;
        }
        stream.put(prefix, width);
        if (nextCode < kMaxCodes) {
            table.emplace(key, nextCode++);
            // The decoder adds each entry one code later than we do, so it
            // widens its codes when our next free code passes the limit.
            if (nextCode > (1 << width) && width < kMaxCodeBits) ++width;
        } else {
            stream.put(clearCode, width);
            table.clear();
            nextCode = firstFree;
            width = minCodeSize + 1;
        }
        prefix = byte;
    }
    stream.put(prefix, width);
    stream.put(endCode, width);
    stream.finish();
}

void appendWord(QByteArray* out, int value) {
    out->append(static_cast<char>(value & 0xFF));
    out->append(static_cast<char>((value >> 8) & 0xFF));
}

int bitsFor(qsizetype colourCount) {
    int bits = 1;
    while ((qsizetype(1) << bits) < colourCount) ++bits;
    return bits;
}

}  // namespace

QByteArray encodeGif(const QImage& image) {
    if (image.isNull()) return {};
    const QImage indexed =
        image.format() == QImage::Format_Indexed8
            ? image
            : image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    QVector<QRgb> colours = indexed.colorTable();
    if (colours.isEmpty()) colours.append(qRgb(0, 0, 0));

    int transparent = -1;
    for (int i = 0; i < colours.size(); ++i) {
        if (qAlpha(colours[i]) < 128) {
            transparent = i;
            break;
        }
    }

    const int width = indexed.width();
    const int height = indexed.height();
    QVector<uchar> pixels;
    pixels.reserve(qsizetype(width) * height);
    for (int y = 0; y < height; ++y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            int index = line[x] < colours.size() ? line[x] : 0;
            if (transparent >= 0 && qAlpha(colours[index]) < 128) index = transparent;
            pixels.append(static_cast<uchar>(index));
        }
    }

    const int paletteBits = bitsFor(colours.size());
    QByteArray out("GIF89a");
    appendWord(&out, width);
    appendWord(&out, height);
    // Global colour table present, 8-bit colour resolution, table size.
    out.append(static_cast<char>(0x80 | 0x70 | (paletteBits - 1)));
    out.append('\0');  // background colour index
    out.append('\0');  // no aspect ratio
    for (int i = 0; i < (1 << paletteBits); ++i) {
        const QRgb c = i < colours.size() ? colours[i] : qRgb(0, 0, 0);
        out.append(static_cast<char>(qRed(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qBlue(c)));
    }
    if (transparent >= 0) {
        out.append("\x21\xF9\x04", 3);  // graphic control extension
        out.append('\x01');             // transparent colour flag
        appendWord(&out, 0);            // no delay
        out.append(static_cast<char>(transparent));
        out.append('\0');
    }
    out.append(',');  // image descriptor
    appendWord(&out, 0);
    appendWord(&out, 0);
    appendWord(&out, width);
    appendWord(&out, height);
    out.append('\0');  // no local table, not interlaced

    const int minCodeSize = std::max(2, paletteBits);
    out.append(static_cast<char>(minCodeSize));
    compressLzw(pixels, minCodeSize, &out);
    out.append(';');  // trailer
    return out;
}

bool writeGif(const QImage& image, const QString& path) {
    const QByteArray data = encodeGif(image);
    if (data.isEmpty()) return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    return file.write(data) == data.size();
}

}  // namespace lumera::art
