#pragma once

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace tripvane {

// The rows of a table of cases under tests/data: one case a line, fields separated by tabs;
// lines starting with '#' and blank lines are left out.
inline std::vector<QStringList> dataTable(const char *name)
{
    QFile file(QStringLiteral(TRIPVANE_TEST_DATA "/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    std::vector<QStringList> rows;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (!line.isEmpty() && !line.startsWith(u'#'))
            rows.push_back(line.split(u'\t'));
    }
    EXPECT_FALSE(rows.empty()) << name;
    return rows;
}

// The bytes of a file under tests/data, such as the expected output under golden/.
inline QByteArray dataFile(const QString &name)
{
    QFile file(QStringLiteral(TRIPVANE_TEST_DATA "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(name);
    return file.readAll();
}

} // namespace tripvane
