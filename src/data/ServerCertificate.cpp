#include "data/ServerCertificate.h"

#include <dlfcn.h>
#include <initializer_list>

namespace {

// The client library's handle and the values of its interface that are used
// here (mysql.h of MariaDB Connector/C; the option number is the same in the
// MySQL client).
struct st_mysql;
using my_bool = char;
constexpr int kOptSslVerifyServerCert = 21; // MYSQL_OPT_SSL_VERIFY_SERVER_CERT

using SslSetFn = int (*)(st_mysql*, const char*, const char*, const char*, const char*, const char*);
using OptionsFn = int (*)(st_mysql*, int, const void*);

// The connects run on the one user-interface thread.
bool checkAsked = false;
bool checkApplied = false;

// The client library's own function: the next definition after this
// executable's, else in the library that the driver loaded.
void* clientFunction(const char* name)
{
    if (void* f = dlsym(RTLD_NEXT, name))
        return f;
    for (const char* library : {"libmariadb.so.3", "libmysqlclient.so.21"})
        if (void* handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD))
            if (void* f = dlsym(handle, name))
                return f;
    return nullptr;
}

} // namespace

extern "C" int mysql_ssl_set(st_mysql* mysql, const char* key, const char* cert, const char* ca,
                             const char* capath, const char* cipher)
{
    const auto sslSet = reinterpret_cast<SslSetFn>(clientFunction("mysql_ssl_set"));
    const auto options = reinterpret_cast<OptionsFn>(clientFunction("mysql_options"));
    if (!sslSet || !options)
        return 1;
    int result = sslSet(mysql, key, cert, ca, capath, cipher);
    if (checkAsked) {
        const my_bool on = 1;
        result |= options(mysql, kOptSslVerifyServerCert, &on);
        checkApplied = result == 0;
    }
    return result;
}

bool serverCertificateCheckAvailable()
{
    return dlsym(RTLD_DEFAULT, "mysql_ssl_set") == reinterpret_cast<void*>(&mysql_ssl_set);
}

TServerCertificateCheck::TServerCertificateCheck(bool on)
{
    checkAsked = on;
    checkApplied = false;
}

TServerCertificateCheck::~TServerCertificateCheck()
{
    checkAsked = false;
}

bool TServerCertificateCheck::applied() const
{
    return checkApplied;
}
