// SPDX-License-Identifier: GPL-3.0-or-later
// Copies of the window (drive_window) killed at random moments, and copies working at once on one
// start directory: afterwards every file is whole and nothing a copy acknowledged is lost or doubled.
//
// STRESS_KILLS sets the number of kills (200). STRESS_SHARE names a directory to work in instead of
// a temporary one, and STRESS_MOUNTS the directories (separated by "|") through which the copies
// reach it in turn, e.g. two network mounts of it; the files are checked in STRESS_SHARE itself.
#include "list_versions.h"

#include "support/file_helpers.h"

#include "platform/code_page.h"
#include "users/user_registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <list>

namespace {

const QString kPractice = QStringLiteral("gyakorlo.szo");
const QString kNameTaken = QStringLiteral("A megadott név már létezik, Válassz másikat!");

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// What a driver reported for one operation.
struct Step {
    bool done = false;
    QString operation, key, stamp, messages, trail;
    bool succeeded() const { return done && messages.isEmpty(); }
    // The operation, its key and what it said, with the system error behind it.
    QString failure() const
    {
        return operation + QLatin1Char(' ') + key + QLatin1Char(' ') + messages
               + (trail.isEmpty() ? QString() : QStringLiteral(" [") + trail + QLatin1Char(']'));
    }
};

// A copy of the window in its own process.
class Copy {
public:
    Copy(const QString &startDirectory, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/drive_window"),
                        QStringList{startDirectory} + arguments);
    }

    bool waitUntilReady()
    {
        QElapsedTimer timer;
        timer.start();
        while (!m_output.startsWith("ready\n")) {
            if (timer.elapsed() > 20000 || !m_process.waitForReadyRead(int(20000 - timer.elapsed())))
                return false;
            m_output += m_process.readAllStandardOutput();
        }
        return true;
    }

    // Whether the copy has come to its `count`th "wait".
    bool waitUntilPaused(int count)
    {
        while (m_output.count("begin\twait\t") < count) {
            if (!m_process.waitForReadyRead(20000))
                return false;
            m_output += m_process.readAllStandardOutput();
        }
        return true;
    }

    void release()
    {
        m_process.write("\n");
        m_process.waitForBytesWritten();
    }
    void kill() { m_process.kill(); }

    // The steps reported, once the process has ended.
    QList<Step> steps()
    {
        m_process.waitForFinished(60000);
        m_output += m_process.readAllStandardOutput();
        QList<Step> steps;
        QList<QByteArray> lines = m_output.split('\n');
        lines.removeLast(); // empty, or a line the kill cut short
        for (const QByteArray &line : std::as_const(lines)) {
            const QStringList fields = QString::fromUtf8(line).split(QLatin1Char('\t'));
            if (fields.size() < 4)
                continue;
            if (fields.at(1) == QLatin1String("wait"))
                continue;
            const bool done = fields.at(0) == QLatin1String("done");
            if (done && !steps.isEmpty() && !steps.constLast().done)
                steps.removeLast();
            steps.append(
                {done, fields.at(1), fields.at(2), fields.at(3), done ? fields.value(4) : QString(), fields.value(5)});
        }
        return steps;
    }

    bool endedWell() const { return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0; }

    // For a failure's report: the copy's last lines and whether it still runs.
    QByteArray lastWords()
    {
        m_output += m_process.readAllStandardOutput();
        return QByteArray(m_process.state() == QProcess::NotRunning ? "(ended) " : "(running) ")
               + m_output.right(600).replace('\t', ' ');
    }

private:
    QProcess m_process;
    QByteArray m_output;
};

// Runs one copy to its end.
QList<Step> runCopy(const QString &startDirectory, const QStringList &arguments)
{
    Copy copy(startDirectory, arguments);
    QList<Step> steps = copy.steps();
    if (copy.endedWell())
        return steps;
    qWarning("the driver did not end well: %s", copy.lastWords().constData());
    return {};
}

// The names of a registry whose every line is a name ended by CR LF; nothing when any is not.
std::optional<QStringList> wholeRegistry(const QByteArray &bytes)
{
    if (!bytes.isEmpty() && !bytes.endsWith("\r\n"))
        return std::nullopt;
    const QStringList names = parseUserNames(bytes);
    if (bytes.count("\r\n") != names.size() || bytes.count('\n') != names.size() || bytes.count('\r') != names.size())
        return std::nullopt;
    return names;
}

// The stamps of a log's records in order, when it is the header line and then whole records.
std::optional<QStringList> wholeLogStamps(const QByteArray &bytes, const QString &learner)
{
    if (!bytes.startsWith(logHeader(learner.toLatin1())) || !bytes.endsWith("\r\n"))
        return std::nullopt;
    static const QRegularExpression record(QStringLiteral("^([^\\r\\n]+),  Név: ([^\\r\\n]+?),  "
                                                          "[^\\r\\n]*A szavak száma: \\d+$"));
    QStringList stamps;
    QList<QByteArray> lines = bytes.mid(logHeader(learner.toLatin1()).size()).split('\n');
    lines.removeLast();
    for (const QByteArray &line : std::as_const(lines)) {
        const QString text = platform::fromCodePage(line.chopped(line.endsWith('\r') ? 1 : 0));
        const QRegularExpressionMatch match = record.match(text);
        if (!line.endsWith('\r') || !match.hasMatch() || match.captured(2) != learner
            || text.count(QStringLiteral("Név: ")) != 1)
            return std::nullopt;
        stamps.append(match.captured(1));
    }
    return stamps;
}

// What the checks found, each counted once however often it is seen again.
struct Findings {
    QSet<QString> torn, lost, duplicated, blocked, failed, strays;
    int filesChecked = 0;
    int acknowledged = 0; // operations reported done without a message

    QString summary() const
    {
        return QStringLiteral("operations acknowledged %1, files checked %2, torn %3, lost %4, duplicated %5, "
                              "blocked %6, failed %7, stray files %8%9")
            .arg(acknowledged)
            .arg(filesChecked)
            .arg(torn.size())
            .arg(lost.size())
            .arg(duplicated.size())
            .arg(blocked.size())
            .arg(failed.size())
            .arg(strays.size())
            .arg(strays.isEmpty()
                     ? QString()
                     : QStringLiteral(" (") + QStringList(strays.values()).mid(0, 10).join(QLatin1String(", "))
                           + QStringLiteral(")"));
    }

    void printSome() const
    {
        for (const QSet<QString> *set : {&torn, &lost, &duplicated, &blocked, &failed}) {
            for (const QString &finding : QStringList(set->values()).mid(0, 5))
                qInfo("  %s", qPrintable(finding.left(400)));
        }
    }

    // Whether this file's bytes are whole; a torn file is named with its bytes, so that a file
    // torn once and then left alone counts once.
    template <typename Result>
    Result checked(const QString &path, const QByteArray &bytes, Result result)
    {
        ++filesChecked;
        if (!result)
            torn.insert(path + QLatin1Char(' ') + QString::fromLatin1(bytes.toHex()));
        return result;
    }
};

// A start directory as the checks see it.
class StartDirectory {
public:
    explicit StartDirectory(QString path) : m_path(std::move(path)) {}

    QString path(const QString &relative = QString()) const
    {
        return relative.isEmpty() ? m_path : QDir(m_path).filePath(relative);
    }

    // The learners Anna and the others given, each with a directory and a log, and a list to practise.
    void furnish(const QStringList &learners) const
    {
        QDir().mkpath(m_path);
        QByteArray registry;
        for (const QString &learner : learners) {
            registry += learner.toLatin1() + "\r\n";
            QDir(m_path).mkdir(learner);
            put(path(learner + QLatin1Char('/') + learner + QStringLiteral(".log")), logHeader(learner.toLatin1()));
        }
        put(path(QStringLiteral("init.usr")), registry);
        put(path(kPractice), listVersion(QStringLiteral("practice")).bytes);
    }

    // The registry's names; nothing when it is not whole.
    std::optional<QStringList> names(Findings &findings) const
    {
        const QByteArray bytes = bytesOf(path(QStringLiteral("init.usr")));
        const std::optional<QStringList> names =
            findings.checked(path(QStringLiteral("init.usr")), bytes, wholeRegistry(bytes));
        if (names) {
            for (const QString &name : *names) {
                if (names->count(name) > 1)
                    findings.duplicated.insert(QStringLiteral("name ") + name);
            }
        }
        return names;
    }

    // Every learner's log that is there, checked whole; the stamps of their records by learner.
    QHash<QString, QStringList> logs(Findings &findings) const
    {
        QHash<QString, QStringList> stamps;
        for (const QString &learner : QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString log = path(learner + QLatin1Char('/') + learner + QStringLiteral(".log"));
            if (!QFileInfo(log).isFile())
                continue;
            const QByteArray bytes = bytesOf(log);
            if (const auto found = findings.checked(log, bytes, wholeLogStamps(bytes, learner))) {
                stamps.insert(learner, *found);
                for (const QString &stamp : *found) {
                    if (found->count(stamp) > 1)
                        findings.duplicated.insert(QStringLiteral("record ") + stamp);
                }
            }
        }
        return stamps;
    }

    // The tag of the list saved there; nothing when there is none or it is not one save's whole.
    std::optional<QString> listTag(const QString &list, Findings &findings) const
    {
        if (!QFileInfo::exists(path(list)))
            return std::nullopt;
        const QByteArray bytes = bytesOf(path(list));
        return findings.checked(path(list), bytes, listVersionTag(bytes));
    }

    // Anything the program left beside its own files: temporary files of a write cut short.
    void strays(Findings &findings, const QStringList &lists) const
    {
        const QDir start(m_path);
        for (const QString &entry : start.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
            if (QFileInfo(start.filePath(entry)).isDir()) {
                const QDir learner(start.filePath(entry));
                for (const QString &inner : learner.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
                    if (inner != entry + QStringLiteral(".log"))
                        findings.strays.insert(entry + QLatin1Char('/') + inner);
                }
            } else if (entry != QLatin1String("init.usr") && entry != kPractice && !lists.contains(entry)) {
                findings.strays.insert(entry);
            }
        }
    }

private:
    QString m_path;
};

// Where the copies work: a temporary directory, or the share of STRESS_SHARE reached through each
// of STRESS_MOUNTS in turn.
class Workplace {
public:
    Workplace()
    {
        if (qEnvironmentVariableIsSet("STRESS_SHARE")) {
            m_server = qEnvironmentVariable("STRESS_SHARE");
            m_mounts = qEnvironmentVariable("STRESS_MOUNTS", m_server).split(QLatin1Char('|'), Qt::SkipEmptyParts);
        } else {
            m_server = m_temporary.path();
            m_mounts = {m_server};
        }
    }

    // A fresh start directory, as checked and as copy `copy` reaches it.
    StartDirectory fresh(const QString &name)
    {
        m_current = QStringLiteral("%1-%2").arg(name).arg(QRandomGenerator::global()->generate());
        return StartDirectory(m_server + QLatin1Char('/') + m_current);
    }
    QString reachedBy(int copy) const { return m_mounts.at(copy % m_mounts.size()) + QLatin1Char('/') + m_current; }

private:
    QTemporaryDir m_temporary;
    QString m_server;
    QStringList m_mounts;
    QString m_current;
};

// What the killed copies acknowledged, held against the files after each kill: every file whole,
// every name, record and list acknowledged there.
class KillLedger {
public:
    KillLedger(StartDirectory start, QStringList kept, QString saved)
        : m_start(std::move(start)), m_kept(std::move(kept)), m_saved(std::move(saved))
    {
    }

    // Takes in what one copy reported and checks every file; the registry's names.
    std::optional<QStringList> check(const QList<Step> &steps)
    {
        std::optional<QString> lastSave;
        for (const Step &step : steps) {
            findings.acknowledged += step.succeeded() ? 1 : 0;
            const bool taken = m_kept.contains(step.key);
            if (step.operation == QLatin1String("drop"))
                m_required[step.key.section(QLatin1Char('/'), 0, 0)].clear();
            else if (!step.done)
                continue;
            else if (step.operation == QLatin1String("add") && taken && step.succeeded())
                findings.duplicated.insert(QStringLiteral("addition ") + step.key);
            else if (step.operation == QLatin1String("add") && !taken && step.messages == kNameTaken)
                findings.blocked.insert(step.key);
            else if (!step.succeeded() && !(taken && step.messages == kNameTaken))
                findings.failed.insert(step.failure());
            else if (step.operation == QLatin1String("record"))
                m_required[step.key].insert(step.stamp);
            else if (step.operation == QLatin1String("save"))
                lastSave = step.key;
        }
        // The list is the one last saved, or the one whose save was cut short.
        if (lastSave)
            m_listTags = {*lastSave};
        if (!steps.isEmpty() && !steps.constLast().done && steps.constLast().operation == QLatin1String("save"))
            m_listTags.insert(steps.constLast().key);

        const std::optional<QStringList> names = m_start.names(findings);
        for (const Step &step : steps) {
            if (names && step.operation == QLatin1String("add") && step.succeeded() && !names->contains(step.key))
                findings.lost.insert(QStringLiteral("name ") + step.key);
        }
        for (const QString &learner : std::as_const(m_kept)) {
            if (names && !names->contains(learner))
                findings.lost.insert(QStringLiteral("name ") + learner);
        }
        const QHash<QString, QStringList> logs = m_start.logs(findings);
        for (auto learner = m_required.cbegin(); learner != m_required.cend(); ++learner) {
            for (const QString &stamp : learner.value()) {
                if (!logs.value(learner.key()).contains(stamp))
                    findings.lost.insert(QStringLiteral("record ") + stamp);
            }
        }
        const std::optional<QString> tag = m_start.listTag(m_saved, findings);
        if (QFileInfo::exists(m_start.path(m_saved)) && tag && !m_listTags.contains(*tag))
            findings.lost.insert(QStringLiteral("list ") + QStringList(m_listTags.values()).join(QLatin1Char('/')));
        m_listTags = {tag.value_or(QString())};
        m_start.strays(findings, {m_saved});
        return names;
    }

    Findings findings;

private:
    const StartDirectory m_start;
    const QStringList m_kept; // learners there from the start, added again and again
    const QString m_saved;
    QHash<QString, QSet<QString>> m_required; // by learner, the records its log must hold
    QSet<QString> m_listTags{QString()};      // what the saved list may be; "" for none
};

int killCount()
{
    bool ok = false;
    const int kills = qEnvironmentVariableIntValue("STRESS_KILLS", &ok);
    return ok && kills > 0 ? kills : 200;
}

} // namespace

class TestStressFiles : public QObject {
    Q_OBJECT

private slots:
    // A copy adding learners, saving a list or recording runs is killed at a random moment, again
    // and again. After each kill every file is whole and everything acknowledged is there; then a
    // fresh copy adds the name whose addition was cut short again, or records a run for the learner
    // it was working on. At the end every learner listed records a run.
    void killedAtRandomMoments()
    {
        Workplace workplace;
        StartDirectory start = workplace.fresh(QStringLiteral("kills"));
        const QString here = workplace.reachedBy(0);
        const QStringList kept{QStringLiteral("Anna"), QStringLiteral("Bela"), QStringLiteral("Cecil")};
        start.furnish(kept);
        const QString saved = QStringLiteral("mentett.szo");
        // Each kind as driver arguments: fresh names and a taken one; one list saved again and
        // again; records to a log that is there, to a log and to a directory deleted by hand.
        const QStringList kinds[] = {
            {"add", "u{k}-%i", "add", "Anna"},
            {"save", "Anna", saved, "k{k}-%i"},
            {"record", "Anna", kPractice, "drop", "Bela/Bela.log", "record", "Bela", kPractice, "drop", "Cecil",
             "record", "Cecil", kPractice},
        };

        const quint64 seed = qEnvironmentVariableIsSet("STRESS_SEED")
                                 ? qEnvironmentVariable("STRESS_SEED").toULongLong()
                                 : QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        KillLedger ledger(start, kept, saved);
        int insideOperations = 0, cutAdditions = 0, directoriesLeft = 0;
        QElapsedTimer timer;
        timer.start();

        const int kills = killCount();
        for (int kill = 0; kill < kills; ++kill) {
            QStringList arguments{QStringLiteral("--repeat"), QStringLiteral("0"), QStringLiteral("--clock"),
                                  QString::number(qint64(kill + 1) * 100000)};
            for (const QString &argument : kinds[kill % 3])
                arguments.append(QString(argument).replace(QLatin1String("{k}"), QString::number(kill)));
            Copy copy(here, arguments);
            QVERIFY2(copy.waitUntilReady(), "the driver did not start: " + copy.lastWords());
            QThread::usleep(random.bounded(30000));
            copy.kill();
            const QList<Step> steps = copy.steps();
            const std::optional<QStringList> names = ledger.check(steps);
            if (steps.isEmpty() || steps.constLast().done)
                continue;

            // A fresh copy carries on where the kill cut in: it adds the name again when it is not
            // listed, or records a run for the learner.
            ++insideOperations;
            const Step &cut = steps.constLast();
            QStringList followUp;
            if (cut.operation == QLatin1String("add") && !kept.contains(cut.key)) {
                ++cutAdditions;
                if (names && !names->contains(cut.key)) {
                    directoriesLeft += QFileInfo::exists(start.path(cut.key)) ? 1 : 0;
                    followUp = QStringList{QStringLiteral("add"), cut.key};
                }
            }
            if (followUp.isEmpty() && cut.operation != QLatin1String("save"))
                followUp = QStringList{QStringLiteral("record"), cut.key.section(QLatin1Char('/'), 0, 0), kPractice};
            if (followUp.isEmpty())
                continue;
            followUp =
                QStringList{QStringLiteral("--clock"), QString::number(qint64(kill + 1) * 100000 + 50000)} + followUp;
            const QList<Step> carriedOn = runCopy(here, followUp);
            QCOMPARE(carriedOn.size(), 1);
            ledger.check(carriedOn);
        }

        // Every learner listed records a run.
        const std::optional<QStringList> names = ledger.check({});
        QVERIFY2(names, "init.usr is torn");
        QStringList arguments{QStringLiteral("--clock"), QStringLiteral("50000")};
        for (const QString &learner : *names)
            arguments << QStringLiteral("record") << learner << kPractice;
        const QList<Step> steps = runCopy(here, arguments);
        QCOMPARE(steps.size(), names->size());
        ledger.check(steps);
        const Findings &findings = ledger.findings;

        qInfo("kills %d (%d inside an operation), additions cut short %d (of which left a directory and no "
              "registry line: %d), learners %lld, seed %llu, %lld ms",
              kills, insideOperations, cutAdditions, directoriesLeft, qlonglong(names->size()), seed,
              qlonglong(timer.elapsed()));
        qInfo("%s", qPrintable(findings.summary()));
        findings.printSome();
        QVERIFY(insideOperations > kills / 2);
        QCOMPARE(findings.torn.size(), 0);
        QCOMPARE(findings.lost.size(), 0);
        QCOMPARE(findings.duplicated.size(), 0);
        QCOMPARE(findings.blocked.size(), 0);
        QCOMPARE(findings.failed.size(), 0);
    }

    // Three copies at once on one start directory, each doing the operations for round
    // {i} = 0, 1, ... in turn, all starting each round together; {j} is the copy. L0..L29 are learners whose logs or
    // directories the row may delete first, so that the copies make them anew at the same moments.
    void copiesAtOnce_data()
    {
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QStringList>("operations");
        QTest::addColumn<int>("rounds");
        QTest::addRow("different names") << QString() << QStringList{"add p{j}-{i}"} << 30;
        QTest::addRow("the same names") << QString() << QStringList{"add n{i}"} << 30;
        QTest::addRow("logs there") << QString() << QStringList{"record L{i}"} << 30;
        QTest::addRow("logs missing") << "L{i}/L{i}.log" << QStringList{"record L{i}"} << 30;
        QTest::addRow("directories missing") << "L{i}" << QStringList{"record L{i}"} << 30;
        QTest::addRow("one list") << QString() << QStringList{"save Anna lista.szo p{j}-{i}"} << 10;
        QTest::addRow("everything") << "L{i}/L{i}.log"
                                    << QStringList{"add n{i}", "record L{i}", "add p{j}-{i}",
                                                   "save Anna lista.szo p{j}-{i}"}
                                    << 10;
    }

    void copiesAtOnce()
    {
        QFETCH(QString, removed);
        QFETCH(QStringList, operations);
        QFETCH(int, rounds);
        Workplace workplace;
        StartDirectory start = workplace.fresh(QStringLiteral("copies"));
        QStringList learners{QStringLiteral("Anna")};
        for (int i = 0; i < 30; ++i)
            learners.append(QStringLiteral("L%1").arg(i));
        start.furnish(learners);
        for (int i = 0; i < 30 && !removed.isEmpty(); ++i) {
            const QString path = start.path(QString(removed).replace(QLatin1String("{i}"), QString::number(i)));
            QVERIFY(QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path));
        }

        constexpr int kCopies = 3;
        std::list<Copy> copies;
        for (int j = 0; j < kCopies; ++j) {
            QStringList arguments{QStringLiteral("--clock"), QString::number(j * 100000)};
            for (int i = 0; i < rounds; ++i) {
                arguments += QStringLiteral("wait");
                for (QString operation : operations) {
                    operation.replace(QLatin1String("{j}"), QString::number(j))
                        .replace(QLatin1String("{i}"), QString::number(i));
                    arguments += operation.split(QLatin1Char(' '));
                    if (operation.startsWith(QLatin1String("record")))
                        arguments += kPractice;
                }
            }
            copies.emplace_back(workplace.reachedBy(j), arguments);
        }
        for (int round = 1; round <= rounds; ++round) {
            for (Copy &copy : copies)
                QVERIFY2(copy.waitUntilPaused(round), QByteArray("a driver did not come to round ")
                                                          + QByteArray::number(round) + ": " + copy.lastWords());
            for (Copy &copy : copies)
                copy.release();
        }

        Findings findings;
        QHash<QString, int> additions; // by name, how many copies added it
        QSet<QString> namesTried, savedTags;
        QHash<QString, QSet<QString>> recorded; // by learner
        for (Copy &copy : copies) {
            const QList<Step> steps = copy.steps();
            QVERIFY2(copy.endedWell(), "a driver did not end well: " + copy.lastWords());
            QCOMPARE(steps.size(), rounds * operations.size());
            for (const Step &step : steps) {
                findings.acknowledged += step.succeeded() ? 1 : 0;
                if (step.operation == QLatin1String("add")) {
                    namesTried.insert(step.key);
                    additions[step.key] += step.succeeded() ? 1 : 0;
                    if (!step.succeeded() && step.messages != kNameTaken)
                        findings.failed.insert(step.failure());
                } else if (!step.succeeded()) {
                    findings.failed.insert(step.failure());
                } else if (step.operation == QLatin1String("record")) {
                    recorded[step.key].insert(step.stamp);
                } else {
                    savedTags.insert(step.key);
                }
            }
        }

        const std::optional<QStringList> names = start.names(findings);
        for (const QString &name : std::as_const(namesTried)) {
            if (additions.value(name) == 0 || (names && !names->contains(name)))
                findings.lost.insert(QStringLiteral("name ") + name);
            if (additions.value(name) > 1)
                findings.duplicated.insert(QStringLiteral("addition ") + name);
        }
        const QHash<QString, QStringList> logs = start.logs(findings);
        for (auto learner = recorded.cbegin(); learner != recorded.cend(); ++learner) {
            for (const QString &stamp : learner.value()) {
                if (!logs.value(learner.key()).contains(stamp))
                    findings.lost.insert(QStringLiteral("record ") + stamp);
            }
            if (logs.value(learner.key()).size() > learner.value().size())
                findings.duplicated.insert(QStringLiteral("records of ") + learner.key());
        }
        if (!savedTags.isEmpty()) {
            const std::optional<QString> tag = start.listTag(QStringLiteral("lista.szo"), findings);
            if (tag && !savedTags.contains(*tag))
                findings.lost.insert(QStringLiteral("list"));
        }
        start.strays(findings, {QStringLiteral("lista.szo")});

        qInfo("%s", qPrintable(findings.summary()));
        findings.printSome();
        QCOMPARE(findings.torn.size(), 0);
        QCOMPARE(findings.lost.size(), 0);
        QCOMPARE(findings.duplicated.size(), 0);
        QCOMPARE(findings.failed.size(), 0);
    }

    // A list saved from one copy and then saved over from another lands whole.
    void savesInTurn()
    {
        Workplace workplace;
        StartDirectory start = workplace.fresh(QStringLiteral("turns"));
        start.furnish({QStringLiteral("Anna")});
        Findings findings;
        for (int j = 0; j < 2; ++j) {
            const QString tag = QStringLiteral("turn%1").arg(j);
            const QList<Step> steps = runCopy(workplace.reachedBy(j), {"save", "Anna", "lista.szo", tag});
            QCOMPARE(steps.size(), 1);
            QVERIFY2(steps.constFirst().succeeded(), qPrintable(steps.constFirst().failure()));
            ++findings.acknowledged;
            QCOMPARE(start.listTag(QStringLiteral("lista.szo"), findings), std::optional<QString>(tag));
        }
        start.strays(findings, {QStringLiteral("lista.szo")});
        qInfo("%s", qPrintable(findings.summary()));
    }
};

QTEST_GUILESS_MAIN(TestStressFiles)
#include "test_stress_files.moc"
