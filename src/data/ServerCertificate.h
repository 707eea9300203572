#pragma once
// Full checking of the database server's certificate on the next connect.
//
// The MySQL driver of Qt 6.4 passes a certificate authority to the client
// library (its SSL_CA option) but offers no way to ask for the check of the
// server's name, and the client library (MariaDB Connector/C 3.3) then still
// falls back to an unencrypted session when the server offers no TLS. The
// client library has the switch for both (MYSQL_OPT_SSL_VERIFY_SERVER_CERT):
// with it a server without TLS, a certificate that the authority did not sign
// and a certificate for another host are refused during the TLS handshake,
// before the user name and the password are sent. This unit sets that switch
// on the driver's own connection: the program defines mysql_ssl_set (exported
// from the executable, see src/CMakeLists.txt), which the driver calls while
// it prepares a connection that names an authority; it calls the client
// library's function and then sets the switch when the check is asked for.

/// Whether the driver's calls reach this unit (the executable exports the
/// function and the client library has it). Without it the check cannot be made.
///
///     if (!serverCertificateCheckAvailable()) throw ...;
bool serverCertificateCheckAvailable();

/// Asks for the full check on the connects made while it lives, and tells
/// whether a connect went through the check.
///
///     TServerCertificateCheck check(true);
///     db.open();
///     if (!check.applied()) ...   // the driver did not pass the authority on
class TServerCertificateCheck {
public:
    explicit TServerCertificateCheck(bool on);
    ~TServerCertificateCheck();
    TServerCertificateCheck(const TServerCertificateCheck&) = delete;
    TServerCertificateCheck& operator=(const TServerCertificateCheck&) = delete;
    /// True once a connect prepared under it had the switch set.
    bool applied() const;
};
