#include "bench/HostFiles.h"

namespace HostFiles {

namespace {

QByteArray Number(int value) {
    return QByteArray::number(value);
}

QByteArray Hex(int value) {
    return QByteArray::number(value, 16);
}

}  // namespace

QByteArray Generated(int lines) {
    QByteArray file;
    file.reserve(static_cast<qsizetype>(lines) * 32);
    file += "// machines of the bench office\n";
    file += "198.51.100.1\tgateway\n";
    for (int i = 2; i < lines; ++i) {
        if (i % 10 == 0) {
            file += "// group " + Number(i / 10) + '\n';
        } else if (i % 10 == 5) {
            file += '\n';
        } else if (i % 2 == 1) {
            file += "10." + Number((i >> 16) & 255) + '.' + Number((i >> 8) & 255) + '.' +
                    Number(i & 255) + "\thost-" + Number(i) + '\n';
        } else {
            file += "0:11:" + Hex((i >> 16) & 255) + ':' + Hex((i >> 8) & 255) + ':' +
                    Hex(i & 255) + ":2a\tmachine-" + Number(i) + '\n';
        }
    }
    return file;
}

QByteArray SmallOffice() {
    return "// the bench office\n"
           "198.51.100.1\tgateway\n"
           "198.51.100.101\tprinter\n"
           "198.51.100.105\tnas\n"
           "0:11:22:33:44:66\tlaptop\n";
}

}  // namespace HostFiles
