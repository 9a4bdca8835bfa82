#include "base/atomic_file.h"

#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The rename is an entry in the folder; without this the old name may come back after a power cut.
void SyncFolderOf(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool WriteWhole(QFileDevice& file, const char* data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 written = file.write(data + done, size - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

bool ReplaceFileContents(const QString& path, const QByteArray& bytes, QString* error)
{
    // QSaveFile writes "<name>.XXXXXX" beside the file (keeping the old file's permissions), syncs it and
    // renames it at commit; it never falls back to writing the file in place unless told to.
    QSaveFile file(path);
    // Unbuffered, so that every write reaches the system and its result is seen. Through Qt's buffer a
    // write the disk takes only in part (a full disk, a file-size limit) is dropped without an error and
    // the commit then renames a truncated file over the old one.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && WriteWhole(file, bytes.constData(), bytes.size())
        && file.commit()) {
        SyncFolderOf(path);
        return true;
    }
    if (error)
        *error = file.errorString();
    return false;
}
