#pragma once

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QMap>
#include <QString>
#include <functional>

namespace qelvane::mklib {

class BuildReport;

// Writes a new poem library file: the tables of the library, then its rows, all in
// one transaction on a file beside the target that replaces the target only when
// everything was written. Nothing is left behind when building fails.
class LibraryWriter {
public:
    LibraryWriter(const QString& target, bool overwrite);
    ~LibraryWriter();
    LibraryWriter(const LibraryWriter&) = delete;
    LibraryWriter& operator=(const LibraryWriter&) = delete;

    // Epochs and countries keep the order in which they are first named.
    QString epoch(const QString& name);
    // Names epochs ahead, in this order, so the tree shows them so; one that no poet
    // comes to is gone again when the library is committed.
    void reserveEpochs(const QStringList& names);
    QString country(const QString& name);
    void addForeignEpoch(const QString& countryName);
    void addFormat(const QString& name, const QString& content);

    // Finds the author of that name in the epoch (or country) or adds it; a biography
    // given later fills one that was missing.
    QString chinaAuthor(const QString& epochName, const QString& name, const QString& biography);
    QString foreignAuthor(const QString& countryName, const QString& name, const QString& biography);

    // Adds a poem unless the same poem of the same author is there already (also with a
    // character or two different, under another title: then the title readers know is
    // kept). Of two copies the one with notes is kept, and where the other reads
    // otherwise, its reading goes into the notes ("一作……"). Returns whether it was added.
    bool addChinaPoem(const QString& epochName, const QString& author, const QString& title, const QString& content,
                      const QString& note);
    bool addForeignPoem(const QString& countryName, const QString& author, const QString& title,
                        const QString& content, const QString& note);

    // The poems written so far are the project's own sample and stand as written: a
    // later poem with the epoch (or country), author and title of one of them and the
    // same opening is left out, however its text goes on (the data set's whole 关雎
    // beside the sample's). The opening tells apart the many ci one poet wrote to
    // one tune, whose titles are the tune's name.
    void keepSampleTitles();

    // What the library holds so far, for placing a poet before his poems are added.
    bool holdsAuthor(const QString& epochName, const QString& name) const;
    // The epochs holding an author of this name, in the tree's order.
    QStringList epochsOfAuthor(const QString& name) const;
    int poemCountOf(const QString& epochName, const QString& name) const;
    // Whether the author there has this poem (or one a character or two apart).
    bool holdsPoem(const QString& epochName, const QString& name, const QString& content) const;
    // Moves an author with the poems to another epoch that holds no author of the name.
    void moveAuthor(const QString& name, const QString& fromEpoch, const QString& toEpoch);
    // An author placed on purpose (by the poet table) or of the sample stays where he is.
    void pinAuthor(const QString& epochName, const QString& name);
    bool isPinned(const QString& epochName, const QString& name) const;

    int authorCount() const { return m_authorCount; }
    // How many poems each epoch holds, in the order the epochs were named.
    QList<QPair<QString, int>> chinaPoemsByEpoch() const;
    int poemCount() const { return m_poemCount; }

    // Called after every 10,000 poems with the number added so far.
    std::function<void(int)> progress;
    // Told of input that is left out (a poem without lines, say).
    std::function<void(const QString&)> warning;
    // Entries of the data set left out because they hold no line of text, for the report.
    int skippedWithoutText = 0;
    // Where merged poems and collations are counted; none to count nothing.
    BuildReport* report = nullptr;
    // Poems whose author stands under another epoch than the collection's or under
    // another name, counted by "韦庄：五代 → 唐", "太宗皇帝 → 李世民（唐）" or
    // "后主煜 → 李煜：唐 → 五代".
    QMap<QString, int> poemsShelvedElsewhere;
    void countShelvedElsewhere(const QString& name, const QString& fromEpoch, const QString& shelfName,
                               const QString& shelfEpoch, int poems = 1);

    // Indexes the tables, commits and puts the file in place of the target.
    void commit();

private:
    struct Side;
    QString group(Side& side, const QString& name);
    QString author(Side& side, const QString& groupName, const QString& name, const QString& biography);
    bool addPoem(Side& side, const QString& groupName, const QString& author, const QString& title,
                 const QString& content, const QString& note);
    struct Kept;
    const Kept* nearlySameKept(const Side& side, const QString& authorKey, const QString& letters) const;
    void mergeDouble(Side& side, Kept& kept, const QString& title, const QString& content, const QString& note);
    QSqlQuery prepare(const QString& statement);
    void exec(QSqlQuery& query, const QVariantList& values);
    void createTables();
    void releaseQueries();

    QString m_target;
    QString m_partFile;
    QString m_connectionName;
    QSqlDatabase m_db;
    bool m_committed = false;
    int m_authorCount = 0;
    int m_poemCount = 0;
    bool m_sampleTitlesKept = false;

    struct Kept {
        QString id, authorKey, title, letters;
        bool sample = false;
    };
    struct Side {
        const char* groupTable = nullptr;   // ChinaEpoch / ForeignCountry
        const char* detailTable = nullptr;
        QString groupIdPrefix, authorIdPrefix, poemIdPrefix;
        QHash<QString, QString> groupIds;        // name -> ID
        QHash<QString, QString> authorIds;       // group + name -> ID
        QSet<QString> authorsWithBiography;
        QSet<QByteArray> poems;                  // digest of group, author, title, text
        QMultiHash<QString, QString> sampleOpenings;  // group + author + title -> opening letters
        QHash<QString, int> poemsByGroup;
        // The poems of an author by the opening and by the end of their text, to find
        // the same poem again under another title (a character or two differ in one of
        // the two ends at most).
        QList<Kept> kept;
        QHash<QString, QList<qsizetype>> byEnds;
        QStringList groupOrder;
        QSet<QString> reservedGroups;
        QSet<QString> pinnedAuthors;             // author IDs
        QHash<QString, int> poemsByAuthor;       // author ID -> poems
        int nextAuthor = 1;
        int nextPoem = 1;
        QSqlQuery insertGroup, insertAuthor, insertDetail, updateDetail, insertPoem, renamePoem, rewritePoem, readPoem;
    };
    Side m_china;
    Side m_foreign;
    QSqlQuery m_insertForeignEpoch;
    QSqlQuery m_insertFormat;
};

} // namespace qelvane::mklib
