// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchhistory.h"

#include "store/database.h"
#include "store/statements.h"
#include "store/transaction.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QStringDecoder>

#include <algorithm>
#include <ctime>

namespace {

qint64 nowNanoseconds(clockid_t clock)
{
    timespec time{};
    clock_gettime(clock, &time);
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

// The 3,755 characters of GB2312's first level, decoded from their GBK bytes.
QString levelOneCharacters()
{
    QByteArray bytes;
    for (int lead = 0xB0; lead <= 0xD7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail > 0xF9)
                break;
            bytes.append(char(lead)).append(char(trail));
        }
    }
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

QString wordNumber(const QString &characters, int n)
{
    const int base = int(characters.size());
    QString word;
    do {
        word.prepend(characters.at(n % base));
        n /= base;
    } while (n > 0);
    return word.size() < 2 ? characters.at(0) + word : word;
}

void insertMany(Database &db, const QString &sql, int rows, const std::function<QVariantList(int)> &values)
{
    QSqlQuery query(db.statements().connection());
    query.prepare(sql);
    for (int i = 0; i < rows; ++i) {
        const QVariantList row = values(i);
        for (int column = 0; column < row.size(); ++column)
            query.bindValue(column, row[column]);
        query.exec();
    }
}

} // namespace

QStringList buildBenchHistory(Database &db, const BenchHistory &size, int freshWordCount)
{
    const QString characters = levelOneCharacters();
    QRandomGenerator random(99);
    const int seedWords = db.statements().scalar(QStringLiteral("SELECT count(*) FROM ci")).toInt();
    const int grownWords = size.words - seedWords;

    Transaction transaction(db);
    // Word numbers from 10,000 on stay clear of the short words used below.
    insertMany(db, QStringLiteral("INSERT INTO ci (cxid, name) VALUES (?, ?)"), grownWords, [&](int i) {
        return QVariantList{1 + i % 4, wordNumber(characters, 10000 + i)};
    });
    insertMany(db,
               QStringLiteral("INSERT INTO wt (wtlxid, match_word, keyword, dotime, answer_count, score,"
                              " repeate_count) VALUES (?, '', '', '2026-01-01 08:00:00', ?, ?, ?)"),
               size.questions, [&](int i) {
                   const int answers = size.answers / size.questions;
                   return QVariantList{1 + i % 23, answers, 3 * answers, answers / 3};
               });
    insertMany(db, QStringLiteral("INSERT INTO hd (wtid, ciid) VALUES (?, ?)"), size.answers, [&](int i) {
        return QVariantList{1 + i % size.questions, 1 + int(random.bounded(size.words))};
    });
    transaction.commit();

    QStringList fresh;
    for (int i = 0; i < freshWordCount; ++i)
        fresh.append(wordNumber(characters, 10000 + grownWords + i));
    return fresh;
}

QString describeTimings(const QString &name, QList<double> microseconds)
{
    std::sort(microseconds.begin(), microseconds.end());
    const auto at = [&](double fraction) {
        return microseconds.at(std::min<qsizetype>(microseconds.size() - 1, qsizetype(fraction * microseconds.size())));
    };
    return QStringLiteral("%1: n=%2 median %3 ms, p99 %4 ms, max %5 ms")
        .arg(name)
        .arg(microseconds.size())
        .arg(at(0.5) / 1000.0, 0, 'f', 3)
        .arg(at(0.99) / 1000.0, 0, 'f', 3)
        .arg(microseconds.last() / 1000.0, 0, 'f', 3);
}

BenchStopwatch::BenchStopwatch()
    : m_wallStart(nowNanoseconds(CLOCK_MONOTONIC)),
      m_cpuStart(nowNanoseconds(CLOCK_THREAD_CPUTIME_ID))
{
}

double BenchStopwatch::wallMicroseconds() const
{
    return double(nowNanoseconds(CLOCK_MONOTONIC) - m_wallStart) / 1000.0;
}

double BenchStopwatch::cpuMicroseconds() const
{
    return double(nowNanoseconds(CLOCK_THREAD_CPUTIME_ID) - m_cpuStart) / 1000.0;
}
