#pragma once

#include <QDir>
#include <QString>

// Station lists that listeners and other projects published, kept beside the project (never in
// it) in ../shared/samples; a clone of the project alone has none, and tests of them skip.
inline QString PublishedListsFolder()
{
    return QStringLiteral(CORVEX_PUBLISHED_LISTS);
}

inline bool HasPublishedLists()
{
    return QDir(PublishedListsFolder()).exists();
}

#define SKIP_WITHOUT_PUBLISHED_LISTS()                                                                           \
    if (!HasPublishedLists())                                                                                    \
    GTEST_SKIP() << "no published station lists in " << PublishedListsFolder().toStdString()
