// Time of one new password hash at the cost 10: TBCrypt against the system's
// crypt library (libxcrypt, "$2b$10$"), measured in turns within one run so
// that both see the same machine load. Prints both medians and their ratio;
// exits 1 when TBCrypt takes more than 1.1 times as long.
//
//     bench_bcrypt [rounds]

#include "crypto/Bcrypt.h"

#include <crypt.h>

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double TimeOurs(const QString& password)
{
    QElapsedTimer t;
    t.start();
    const QString hash = TBCrypt::HashPassword(password);
    const double ms = t.nsecsElapsed() / 1e6;
    if (hash.size() != 60)
        std::abort();
    return ms;
}

double TimeSystem(const char* password, crypt_data& data)
{
    QElapsedTimer t;
    t.start();
    char setting[CRYPT_GENSALT_OUTPUT_SIZE];
    if (!crypt_gensalt_rn("$2b$", 10, nullptr, 0, setting, sizeof setting))
        std::abort();
    const char* hash = crypt_rn(password, setting, &data, sizeof data);
    const double ms = t.nsecsElapsed() / 1e6;
    if (!hash || std::strlen(hash) != 60)
        std::abort();
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const char* password = "Пароль администратора 2024";
    const QString qpassword = QString::fromUtf8(password);
    static crypt_data data;

    TimeOurs(qpassword); // warm the caches and the page tables of both
    TimeSystem(password, data);

    std::vector<double> ours, system;
    for (int i = 0; i < rounds; ++i) {
        if (i % 2) {
            system.push_back(TimeSystem(password, data));
            ours.push_back(TimeOurs(qpassword));
        } else {
            ours.push_back(TimeOurs(qpassword));
            system.push_back(TimeSystem(password, data));
        }
    }
    const double a = Median(ours);
    const double b = Median(system);
    std::printf("rounds:                       %d\n", rounds);
    std::printf("TBCrypt cost 10, median:      %.2f ms\n", a);
    std::printf("libxcrypt $2b$10$, median:    %.2f ms\n", b);
    std::printf("ratio TBCrypt / libxcrypt:    %.3f (target <= 1.100)\n", a / b);
    std::printf("bcrypt_cost10: %.0f ms\n", a);
    std::printf("libxcrypt_cost10: %.0f ms\n", b);
    return a / b <= 1.1 ? 0 : 1;
}
