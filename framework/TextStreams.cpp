#include "framework/TextStreams.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>

namespace fw {

namespace {

constexpr qsizetype kChunk = 64 * 1024;

// A failure always has a text, so that an empty error means success.
QString FailureText(const QFileDevice& file) {
    const QString text = file.errorString();
    return text.isEmpty() ? QStringLiteral("Cannot write %1").arg(file.fileName()) : text;
}

// Opens file for reading when it is a regular file. A look first, so that no device is opened
// (some act on an open); then the opened file itself is checked, so that a swap in between
// cannot slip through. O_NONBLOCK keeps the open of a FIFO swapped in from waiting for a writer.
bool OpenRegularFile(QFile& file) {
    const QByteArray path = QFile::encodeName(file.fileName());
    struct stat status {};
    if (::stat(path.constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

}  // namespace

QString EndOfLine() {
    return QStringLiteral("\n");
}

TextInputStream::TextInputStream(const QString& path) : mFile(path) {
    if (!OpenRegularFile(mFile)) {
        mAtFileEnd = true;
        return;
    }
    // Read ahead so that Eof() is right from the start and a byte-order mark can be seen whole.
    while (mBuffer.size() < 3 && Fill()) {
    }
    if (mBuffer.startsWith("\xEF\xBB\xBF")) {
        mPos = 3;
    }
}

bool TextInputStream::IsOpen() const {
    return mFile.isOpen();
}

bool TextInputStream::Fill() {
    if (mAtFileEnd) {
        return false;
    }
    if (mPos > 0 && mPos >= mBuffer.size() / 2) {
        mBuffer.remove(0, mPos);
        mPos = 0;
    }
    const qsizetype old = mBuffer.size();
    if (mBuffer.capacity() < old + kChunk) {
        // Grow geometrically: one very long line must not cost a copy per chunk.
        mBuffer.reserve(std::max(old + kChunk, 2 * mBuffer.capacity()));
    }
    mBuffer.resize(old + kChunk);
    const qint64 read = mFile.read(mBuffer.data() + old, kChunk);
    mBuffer.resize(old + std::max<qint64>(read, 0));
    if (read <= 0) {
        mAtFileEnd = true;  // a read error ends the file too
        return false;
    }
    return true;
}

QString TextInputStream::ReadLine() {
    // Offsets from mPos: Fill may move the unread bytes to the front of the buffer.
    qsizetype length = 0;
    for (;;) {
        const char* unread = mBuffer.constData() + mPos;
        const qsizetype available = mBuffer.size() - mPos;
        while (length < available && unread[length] != '\n' && unread[length] != '\r') {
            ++length;
        }
        if (length < available || !Fill()) {
            break;
        }
    }
    // Stateless, and a mark at the start of a later line is text: only the file's own is dropped.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    const QString line = decoder(QByteArrayView(mBuffer.constData() + mPos, length));

    qsizetype consumed = length;
    if (mPos + consumed < mBuffer.size()) {
        const bool carriageReturn = mBuffer[mPos + consumed] == '\r';
        ++consumed;
        if (carriageReturn) {
            if (mPos + consumed == mBuffer.size()) {
                Fill();  // CR or CRLF: the next byte tells
            }
            if (mPos + consumed < mBuffer.size() && mBuffer[mPos + consumed] == '\n') {
                ++consumed;
            }
        }
    }
    mPos += consumed;
    if (mPos == mBuffer.size()) {
        Fill();  // so that Eof() knows whether another line follows
    }
    return line;
}

bool TextInputStream::Eof() const {
    return mPos >= mBuffer.size() && mAtFileEnd;
}

void TextInputStream::Close() {
    mFile.close();
    mBuffer.clear();
    mPos = 0;
    mAtFileEnd = true;
}

TextOutputStream::TextOutputStream(const QString& path) : mFile(path) {
    const QFileInfo existing(path);  // after links
    if (existing.exists() && !existing.isFile()) {
        mError = QStringLiteral("Not a regular file");
        return;
    }
    // Unbuffered: each write reaches the file when made and fails there, with its reason.
    // Buffered, the last flush happens inside QSaveFile::commit, which does not notice when
    // that flush fails and puts the cut-off file in place.
    mOpened = mFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (!mOpened) {
        mError = FailureText(mFile);
    }
}

void TextOutputStream::Write(const QString& text) {
    if (!mOpened || mClosed || !mError.isEmpty()) {
        return;
    }
    mPending += text.toUtf8();
    if (mPending.size() >= kChunk) {
        WritePending();
    }
}

void TextOutputStream::WritePending() {
    qsizetype done = 0;
    while (done < mPending.size() && mError.isEmpty()) {
        // A short write (a full disk, a size limit) says nothing; writing the rest then fails
        // with the system's reason.
        const qint64 written = mFile.write(mPending.constData() + done, mPending.size() - done);
        if (written <= 0) {
            mError = FailureText(mFile);
            mFile.cancelWriting();  // the commit must not put a short file in place
        } else {
            done += written;
        }
    }
    mPending.clear();
}

bool TextOutputStream::Close() {
    if (mClosed) {
        return mError.isEmpty();
    }
    mClosed = true;
    if (!mOpened) {
        return false;
    }
    if (mError.isEmpty()) {
        WritePending();
    }
    if (!mError.isEmpty()) {
        mFile.commit();  // cancelled: only removes the temporary file
        return false;
    }
    if (!mFile.commit()) {
        mError = FailureText(mFile);
        return false;
    }
    return true;
}

QString TextOutputStream::ErrorString() const {
    return mError;
}

}  // namespace fw
