#include <algorithm>
#include <cerrno>
#include <string>

#include <QAbstractItemModelTester>
#include <QtTest>

#include "ui/widgets/image_list.h"
#include "ui/window/entry_model.h"

namespace {

// As a batch's thread writes them: the first `count` rows failed, their entry gone.
void FailRows(engine::TFolderListing& listing, std::size_t count) {
    for (std::size_t row = 0; row < count; ++row) {
        listing.Rows[row].NewName = "new" + std::to_string(row);
        listing.Rows[row].Status = engine::TRenameStatus::Failed;
        listing.Rows[row].Error = ENOENT;
    }
}

engine::TFolderEntry Row(std::string name, bool folder) {
    engine::TFolderEntry row;
    row.OldName = std::move(name);
    row.TypeText = folder ? std::string(engine::FolderTypeText) : ".txt";
    row.ModifiedText = "2024-05-01 12:00:00";
    row.IsFolder = folder;
    row.ImageIndex = folder ? engine::FolderImageIndex : engine::FileImageIndex;
    return row;
}

engine::TFolderListing Listing() {
    engine::TFolderListing listing;
    listing.CurrentFolder = "/nonexistent-zelvora-folder/";
    listing.Rows = {Row("子文件夹", true), Row("a.txt", false), Row("bad\xff\xfe.txt", false)};
    return listing;
}

// Rows enough for several chunks: "0" to "24999".
engine::TFolderListing Large() {
    engine::TFolderListing listing;
    for (int i = 0; i < 25000; ++i)
        listing.Rows.push_back(Row(std::to_string(i), false));
    return listing;
}

} // namespace

class TEntryModelTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_model = new TEntryModel(this);
        m_model->setImages(m_images);
        m_tester = new QAbstractItemModelTester(
            m_model, QAbstractItemModelTester::FailureReportingMode::QtTest, this);
    }

    void cleanup() {
        delete m_tester;
        delete m_model;
    }

    void passesModelTesterThroughResets() {
        QCOMPARE(m_model->rowCount(), 0);
        QSignalSpy resets(m_model, &QAbstractItemModel::modelReset);
        m_model->setListing(Listing());
        QCOMPARE(resets.count(), 1);
        QCOMPARE(m_model->rowCount(), 3);
        QCOMPARE(m_model->columnCount(), 4);
        QCOMPARE(m_model->listing().CurrentFolder, std::string("/nonexistent-zelvora-folder/"));
        m_model->setListing({});
        QCOMPARE(m_model->rowCount(), 0);
    }

    void showsRowsWithPictures() {
        m_model->setListing(Listing());
        QCOMPARE(m_model->index(0, 0).data().toString(), QStringLiteral("子文件夹"));
        QCOMPARE(m_model->index(0, 2).data().toString(), QStringLiteral("文件夹"));
        QCOMPARE(m_model->index(1, 3).data().toString(), QStringLiteral("2024-05-01 12:00:00"));
        QCOMPARE(m_model->index(2, 0).data().toString(),
                 QStringLiteral("bad") + QChar(0xFFFD) + QChar(0xFFFD) + QStringLiteral(".txt"));
        const auto picture = [&](int row, int column) {
            return m_model->index(row, column).data(Qt::DecorationRole).value<QIcon>();
        };
        QVERIFY(!picture(0, 0).isNull());
        QVERIFY(!picture(1, 0).isNull());
        QVERIFY(picture(0, 0).cacheKey() != picture(1, 0).cacheKey());
        QVERIFY(picture(1, 1).isNull());
        QCOMPARE(m_model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("修改时间"));

        // A Windows name holding an unpaired surrogate comes as WTF-8, and shows with U+FFFD.
        engine::TFolderListing surrogate;
        surrogate.Rows = {Row("a\xED\xA0\x80z", false)};
        m_model->setListing(std::move(surrogate));
        const QString shown = m_model->index(0, 0).data().toString();
        QVERIFY(shown.startsWith(u'a') && shown.endsWith(u'z') && shown.contains(QChar(0xFFFD)));
        QVERIFY(std::none_of(shown.begin(), shown.end(), [](QChar c) { return c.isSurrogate(); }));
    }

    void editsOnlyTheOldNameAsUtf8() {
        m_model->setListing(Listing());
        QVERIFY(m_model->flags(m_model->index(1, 0)) & Qt::ItemIsEditable);
        for (int column = 1; column < 4; ++column) {
            QVERIFY(!(m_model->flags(m_model->index(1, column)) & Qt::ItemIsEditable));
            QVERIFY(!m_model->setData(m_model->index(1, column), QStringLiteral("x")));
        }
        QSignalSpy changes(m_model, &QAbstractItemModel::dataChanged);
        QVERIFY(m_model->setData(m_model->index(1, 0), QStringLiteral("新名.txt")));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(m_model->rows()[1].OldName, std::string("\xe6\x96\xb0\xe5\x90\x8d.txt"));
        QCOMPARE(m_model->rows()[1].TypeText, std::string(".txt"));
        // A name shown only approximately, confirmed unchanged, keeps its bytes.
        const QModelIndex bad = m_model->index(2, 0);
        QVERIFY(m_model->setData(bad, bad.data(Qt::EditRole)));
        QCOMPARE(m_model->rows()[2].OldName, std::string("bad\xff\xfe.txt"));
    }

    // A batch clears the column with one change and settles its rows with one more.
    void showsABatchRowsOnlyOnceSettled() {
        m_model->newNamesChanged();
        m_model->setListing(Listing());
        QSignalSpy batch(m_model, &QAbstractItemModel::dataChanged);
        FailRows(m_model->beginBatch(), 3);
        m_model->endBatch(); // every row failed and is marked
        QCOMPARE(batch.count(), 2);
        for (const QList<QVariant>& change : batch) {
            QCOMPARE(change[0].toModelIndex(), m_model->index(0, 1));
            QCOMPARE(change[1].toModelIndex(), m_model->index(2, 1));
        }
        QCOMPARE(m_model->index(1, 1).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("找不到文件或文件夹"));
        engine::TFolderListing& rows = m_model->beginBatch();
        QVERIFY(m_model->inBatch());
        QCOMPARE(m_model->index(1, 1).data().toString(), QString()); // cleared: not run yet
        QVERIFY(!m_model->index(1, 1).data(Qt::ToolTipRole).isValid());
        QVERIFY(!(m_model->flags(m_model->index(1, 0)) & Qt::ItemIsEditable));
        QVERIFY(!m_model->setData(m_model->index(1, 0), QStringLiteral("x.txt")));
        FailRows(rows, 2); // two rows written, one of them reported done
        QSignalSpy changes(m_model, &QAbstractItemModel::dataChanged);
        m_model->settleRows(1);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes[0][0].toModelIndex(), m_model->index(0, 1));
        QCOMPARE(changes[0][1].toModelIndex(), m_model->index(0, 1));
        QCOMPARE(m_model->index(0, 1).data().toString(), QStringLiteral("new0"));
        QCOMPARE(m_model->index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(m_model->index(1, 1).data().toString(), QString()); // still being written
        QVERIFY(!m_model->index(1, 1).data(Qt::ForegroundRole).isValid());
        m_model->endBatch(); // stopped: the third row was never reached
        QVERIFY(!m_model->inBatch());
        QCOMPARE(m_model->index(1, 1).data().toString(), QStringLiteral("new1"));
        QCOMPARE(m_model->index(2, 1).data().toString(), QString());
        QVERIFY(m_model->flags(m_model->index(1, 0)) & Qt::ItemIsEditable);
    }

    void showsALargeListingInChunks() {
        engine::TFolderListing large = Large();
        large.CurrentFolder = "/large/";
        QSignalSpy revealed(m_model, &TEntryModel::revealed);
        QSignalSpy chunks(m_model, &QAbstractItemModel::rowsInserted);
        m_model->setListingInChunks(std::move(large));
        QCOMPARE(m_model->listing().CurrentFolder, std::string("/large/")); // with the first rows
        QVERIFY(m_model->rowCount() > 0 && m_model->rowCount() < 25000);
        QVERIFY(m_model->revealing());
        QTRY_COMPARE(revealed.count(), 1);
        QCOMPARE(m_model->rowCount(), 25000);
        QVERIFY(chunks.count() >= 1);
        QCOMPARE(m_model->index(24999, 0).data().toString(), QStringLiteral("24999"));
    }

    void aNewListingEndsTheChunksOfTheLast() {
        QSignalSpy revealed(m_model, &TEntryModel::revealed);
        m_model->setListingInChunks(Large());
        m_model->setListingInChunks(Listing()); // before the next chunk
        QCOMPARE(m_model->rowCount(), 3);
        QCOMPARE(revealed.count(), 1);
        QSignalSpy chunks(m_model, &QAbstractItemModel::rowsInserted);
        QCoreApplication::processEvents(); // a chunk still due would insert rows past the end
        QCOMPARE(chunks.count(), 0);
        QCOMPARE(m_model->rowCount(), 3);
    }

private:
    TImageList m_images = MakeMainImageList();
    TEntryModel* m_model = nullptr;
    QAbstractItemModelTester* m_tester = nullptr;
};

QTEST_MAIN(TEntryModelTest)
#include "entry_model_test.moc"
