#pragma once

// What the benchmarks on a database share: their common options, a database of
// their own on a server started by scripts/testdb.sh, the large demo data and
// the data module connected to it.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <algorithm>

class TDataZRT;

namespace bench {

/// Ends the benchmark with a failure: main() of benchMain prints it and returns 2.
///     if (rows == 0) bench::fail(u"no rows"_s);
[[noreturn]] void fail(const QString& text);

/// A line on the error output (the figures alone go to the standard output).
///     bench::say(u"saved "_s + path);
void say(const QString& text);

/// The source tree (where db/ is), wherever the benchmark runs.
///     bench::repoDir() + u"/db/schema.sql"_s
QString repoDir();

/// The middle value of the measurements (the upper middle of an even count), 0 for none.
///     bench::median(QList<double>{3, 1, 2}) == 2
template <typename T>
T median(QList<T> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? T() : v.at(v.size() / 2);
}

/// The options every benchmark on a database takes: --server-dir DIR (or
/// TALVIRA_TESTDB_DIR), --port P (else read from DIR/port), --out DIR (made when
/// given), --data FILE, --runs N, --keep; and the benchmark's own options with a value.
///     const auto o = bench::BenchOptions::parse(args, 3, {u"--candidates"_s});
///     const int wanted = o.extra(u"--candidates"_s, u"2000"_s).toInt();
struct BenchOptions {
    QString serverDir;
    QString data;
    QString outDir;
    int port = 0;
    int runs = 3;
    bool keep = false;
    QHash<QString, QString> extras;

    /// Reads the arguments (the first is the program); an unknown option, a missing
    /// server or port file, or an output folder that cannot be made is a failure.
    /// takesData = false refuses --data (a benchmark making its own small data).
    static BenchOptions parse(const QStringList& args, int runs, const QStringList& extraOptions = {},
                              bool takesData = true);
    /// The value given to one of the benchmark's own options, or otherwise.
    QString extra(const QString& name, const QString& otherwise = {}) const;
    /// The root socket of the server: DIR/mysqld.sock.
    QString socket() const;
    /// The output folder given, or else the fallback made now; absolute.
    ///     const QString out = o.outDirOr(tmp.filePath(u"out"_s));
    QString outDirOr(const QString& fallback) const;
};

/// A database of the benchmark's own, made on the server as root through its
/// socket and dropped when this goes (unless kept).
///     bench::BenchDb db(o.socket(), u"bench_x_%1"_s.arg(pid), o.keep);
///     db.loadDemo(data);
///     const int period = db.scalar(u"SELECT id FROM vzl_periods WHERE active=1"_s).toInt();
class BenchDb {
public:
    BenchDb(const QString& socket, const QString& database, bool keep);
    /// A database named prefix_<process id> on the server of the options, kept with --keep.
    ///     bench::BenchDb db(o, u"bench_ratings"_s);
    BenchDb(const BenchOptions& options, const QString& prefix);
    ~BenchDb();
    BenchDb(const BenchDb&) = delete;
    BenchDb& operator=(const BenchDb&) = delete;

    const QString& name() const { return database_; }
    void exec(const QString& sql);
    QVariant scalar(const QString& sql);
    /// Feeds the files to the mariadb client, one after another.
    void load(const QStringList& files);
    /// The tables, the reference rows and the data (SQL of db/generate_demo.py),
    /// through the client; says how long it took.
    void loadDemo(const QString& data);
    /// Runs the statements of an SQL file one by one, split at the semicolons
    /// ending a line (no client needed; for small files).
    void execFile(const QString& path);
    void drop();

private:
    QString socket_;
    QString database_;
    QString connection_;
    bool keep_;
};

/// The large demo data: `given` when not empty, else made at `path` by
/// db/generate_demo.py with 100,000 pupils and 200 events, and one event of
/// bigEvent participants when bigEvent > 0.
///     const QString data = bench::makeLargeData(o.data, tmp.filePath(u"big.sql"_s), 10000);
QString makeLargeData(const QString& given, const QString& path, int bigEvent = 0);

/// Connects the data module as the program's account over TCP to the
/// benchmark's database, as administrator `user`.
///     TDataZRT dm;
///     bench::connectDataModule(dm, o, db, user);
void connectDataModule(TDataZRT& dm, const BenchOptions& options, const BenchDb& db, int user);

/// The event of the active year with the most regional-stage rows, the first
/// of its administrators (0 when it has none) and the number of those rows.
///     const bench::LargestEvent e = bench::largestEvent(db);  // e.period, e.event, e.user, e.rows
struct LargestEvent {
    int period = 0;
    int event = 0;
    int user = 0;
    int rows = 0;
};
LargestEvent largestEvent(BenchDb& db);

/// The start the benchmarks of the large data share: the options read, a
/// database of the benchmark's own with the large demo data (one event of
/// bigEvent participants), and its largest event.
///     bench::LargeDemo demo(args, 5, u"bench_exports"_s);
///     const int event = demo.largest.event;
///     bench::connectDataModule(dm, demo.options, demo.db, demo.largest.user);
struct LargeDemo {
    LargeDemo(const QStringList& args, int runs, const QString& prefix, int bigEvent = 10000);
    const BenchOptions options;
    /// Where the generated data lies for the benchmark's length.
    QTemporaryDir tmp;
    BenchDb db;
    LargestEvent largest;
};

/// Answers every message with Ok and records its text, refuses every modal
/// dialog: the benchmark checks the messages after its runs.
///     QStringList messages;
///     bench::recordMessages(messages);
void recordMessages(QStringList& messages);

/// main() of a benchmark: the offscreen platform unless another is set, the
/// application with the program's locale of dates and numbers, run(arguments);
/// a failure is printed with the name and gives 2.
///     int main(int argc, char** argv) { return bench::benchMain(argc, argv, "bench_x", run); }
int benchMain(int argc, char** argv, const char* name, int (*run)(const QStringList& args));

} // namespace bench
