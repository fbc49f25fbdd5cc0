#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <QUrl>

namespace lumera {

class DriveMap;

// Sound and video files of the CD that the browser cannot play (.mid, .avi)
// open in the desktop's own application: the file on the drive, or a copy of
// it when the drive is a disc image, kept until the reader ends.
class MediaOpener : public QObject {
    Q_OBJECT
  public:
    MediaOpener(const DriveMap& drives, QObject* parent);
    // False when url names no file of a drive.
    bool open(const QUrl& url);

  private:
    const DriveMap& drives_;
    QTemporaryDir copies_;
};

}  // namespace lumera
