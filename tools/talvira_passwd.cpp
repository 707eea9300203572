// Makes and checks password hash strings as the accounts table stores them.
//
//     talvira_passwd hash              < password   prints "$2a$10$..."
//     talvira_passwd check '<hash>'    < password   exit 0 match, 1 no match,
//                                                   2 the hash does not parse
//
// The password is the first line of the standard input without its newline.

#include "crypto/Bcrypt.h"

#include <QString>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

int Usage()
{
    std::fputs("usage: talvira_passwd hash            (password on stdin)\n"
               "       talvira_passwd check '<hash>'  (password on stdin)\n",
               stderr);
    return 2;
}

QString ReadPassword()
{
    std::string line;
    std::getline(std::cin, line); // drops the newline and nothing else
    return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 2 && std::strcmp(argv[1], "hash") == 0) {
            const QString hash = TBCrypt::HashPassword(ReadPassword());
            std::printf("%s\n", hash.toLatin1().constData());
            return 0;
        }
        if (argc == 3 && std::strcmp(argv[1], "check") == 0) {
            const QString expected = QString::fromUtf8(argv[2]);
            return TBCrypt::CheckPassword(ReadPassword(), expected) ? 0 : 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    return Usage();
}
