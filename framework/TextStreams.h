#pragma once
// Text streams of the framework. Each belongs to the thread that uses it.

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

namespace fw {

enum class Encoding { UTF8 };
namespace Encodings {
inline constexpr Encoding UTF8 = Encoding::UTF8;
}

// The line end that the framework writes: LF.
QString EndOfLine();

class TextInputStream {
public:
    // Opens only a regular file (after links): anything else (a FIFO, a device) could block or
    // never end, and stays closed like a file that is not there. Check IsOpen().
    explicit TextInputStream(const QString& path);
    bool IsOpen() const;

    // UTF-8 is the one encoding there is, and the stream reads it from the start: setting it
    // changes nothing.
    void SetEncoding(Encoding /*encoding*/) {}

    // The next line without its line end. LF, CRLF and a lone CR end a line; a UTF-8 byte-order
    // mark at the start of the file is dropped; invalid UTF-8 becomes U+FFFD.
    QString ReadLine();
    // True once no byte is left (the framework's EOF; C's EOF macro takes that spelling).
    bool Eof() const;
    void Close();

private:
    // Reads more bytes behind the buffer (dropping the bytes before mPos when they are the larger
    // part); false, and mAtFileEnd set, once the file has no more.
    bool Fill();
    QFile mFile;
    QByteArray mBuffer;
    qsizetype mPos = 0;  // the first byte not yet read out
    bool mAtFileEnd = false;
};

class TextOutputStream {
public:
    // Fails at once (see ErrorString) when path is, or leads to, anything but a regular file:
    // replacing it would replace a FIFO or a device, not write into it.
    explicit TextOutputStream(const QString& path);

    // Writes text as UTF-8; adds no line end.
    void Write(const QString& text);

    // Replaces the file on disk with what was written, once every byte has reached the new
    // file. False, with ErrorString() (the system's reason), when any step failed; the earlier
    // file is then left as it was.
    bool Close();
    QString ErrorString() const;

private:
    // Hands mPending to the file; on a failure keeps the reason and cancels the replacement.
    void WritePending();
    QSaveFile mFile;
    QByteArray mPending;  // written text not yet handed to the file
    bool mOpened = false;
    bool mClosed = false;
    QString mError;
};

}  // namespace fw
