#include "media/ModuleCrpt.h"

#include <QFile>
#include <fcntl.h>
#include <unistd.h>

namespace ModuleCrpt {

unsigned char ReverseBits(unsigned char byte) {
    unsigned char reversed = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (byte & (1u << bit)) reversed |= static_cast<unsigned char>(1u << (7 - bit));
    return reversed;
}

bool ScrambleHeader(const QString& path) {
    if (path.isEmpty()) return false;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR);
    if (fd < 0) return false;
    unsigned char header[kScrambledBytes];
    const ssize_t length = ::pread(fd, header, sizeof header, 0);
    bool ok = length >= 0;
    if (ok && length > 0) {
        for (ssize_t i = 0; i < length; ++i) header[i] = ReverseBits(header[i]);
        // One positioned write hands the whole header to the kernel at once, so
        // a crash of the program cannot leave half a header behind.
        ok = ::pwrite(fd, header, static_cast<size_t>(length), 0) == length;
    }
    return ::close(fd) == 0 && ok;
}

void ScrambleHeader(QByteArray& bytes) {
    const qsizetype length = qMin<qsizetype>(bytes.size(), kScrambledBytes);
    for (qsizetype i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(ReverseBits(static_cast<unsigned char>(bytes[i])));
}

HeaderForm FormOf(const QByteArray& bytes, const QByteArray& plainStart) {
    if (bytes.startsWith(plainStart)) return HeaderForm::Plain;
    QByteArray scrambledStart = plainStart;
    ScrambleHeader(scrambledStart);
    if (bytes.startsWith(scrambledStart)) return HeaderForm::Scrambled;
    return HeaderForm::Unknown;
}

HeaderForm FileForm(const QString& path, const QByteArray& plainStart) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return HeaderForm::Unknown;
    return FormOf(file.read(plainStart.size()), plainStart);
}

}  // namespace ModuleCrpt
