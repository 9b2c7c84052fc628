// The author and poem editors, filled in and saved as a user does: typing, choosing,
// clicking 确定 or 取消, answering their notices.
#include "DialogDriver.h"
#include "TestLibrary.h"
#include "dialogs/frmAuthor.h"
#include "dialogs/frmPoem.h"
#include "platform/MessageBox.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QtTest>
#include <functional>

using namespace qelvane;

class tst_Editors : public QObject {
    Q_OBJECT
    std::unique_ptr<test::LibraryFixture> library;

    QVariant scalar(const QString& statement, const QVariantList& values = {})
    {
        return test::scalar(library->libraryFile, statement, values);
    }
    int counter(const QString& name)
    {
        return scalar("select Count from NewCount where Name=?", {name}).toInt();
    }
    static QStringList items(QComboBox* box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    }
    static void typePlain(QPlainTextEdit* field, const QString& text)
    {
        field->clear();
        field->setFocus();
        test::typeText(field, text);
    }
    static void typeLine(QLineEdit* field, const QString& text)
    {
        field->clear();
        test::typeText(field, text);
    }
    template <typename Dialog>
    static void showAndWait(Dialog& dialog)
    {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }

private slots:
    void init() { library = std::make_unique<test::LibraryFixture>(); }
    void cleanup() { library.reset(); }

    // ---- Author editor ----

    void aNewChineseAuthor()
    {
        test::seed(library->libraryFile, "update NewCount set Count=41 where Name='Author'");
        frmAuthor editor(library->services());
        editor.setAddNew(true);
        showAndWait(editor);
        auto* cboEpoch = test::named<QComboBox>(&editor, "cboEpoch");
        auto* txtDetail = test::named<QPlainTextEdit>(&editor, "txtDetail");
        QCOMPARE(editor.windowTitle(), QString("新增作者"));
        QCOMPARE(items(cboEpoch), QStringList({"先秦", "唐", "宋", "空朝"}));
        QCOMPARE(cboEpoch->currentIndex(), -1);
        typeLine(test::named<QLineEdit>(&editor, "txtName"), "O'Hara 李");
        cboEpoch->setCurrentText("唐");
        const QString opening = "第一行，含'引号'。\n第二行。\n";
        const QString biography = opening + QString(2000, QChar(0x8bd7));
        // The opening lines, quotes and Returns, typed key by key; the long body pasted
        // with Ctrl+V, as a user brings in a long text, and its end typed after the paste.
        typePlain(txtDetail, opening);
        QGuiApplication::clipboard()->setText(QString(1980, QChar(0x8bd7)));
        QTest::keyClick(txtDetail, Qt::Key_V, Qt::ControlModifier);
        test::typeText(txtDetail, QString(20, QChar(0x8bd7)));
        QCOMPARE(txtDetail->toPlainText(), biography);
        msg::Recorder boxes;
        test::clickButton(&editor, "cmdOK");
        QCOMPARE(boxes.texts(), QStringList({"已经保存"}));
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(counter("Author"), 42);
        QCOMPARE(editor.PoetID(), QString("NewAuthor42"));
        QCOMPARE(scalar("select AuthorName from ChinaAuthor where AuthorID='NewAuthor42'").toString(),
                 QString("O'Hara 李"));
        QCOMPARE(scalar("select Epoch from ChinaAuthor where AuthorID='NewAuthor42'").toString(), QString("唐"));
        QCOMPARE(scalar("select AuthorDetail from ChinaAuthorDetail where AuthorID='NewAuthor42'").toString(),
                 biography);
    }

    void theKindChoosesTheList()
    {
        frmAuthor editor(library->services());
        editor.setAddNew(true);
        showAndWait(editor);
        auto* optKind0 = test::named<QRadioButton>(&editor, "optKind_0");
        auto* optKind1 = test::named<QRadioButton>(&editor, "optKind_1");
        auto* cboEpoch = test::named<QComboBox>(&editor, "cboEpoch");
        QTest::mouseClick(optKind1, Qt::LeftButton);
        QCOMPARE(items(cboEpoch), QStringList({"英国", "法国", "无人国"}));
        QTest::mouseClick(optKind0, Qt::LeftButton);
        QCOMPARE(items(cboEpoch), QStringList({"先秦", "唐", "宋", "空朝"}));
        // A foreign author goes to the foreign tables.
        QTest::mouseClick(optKind1, Qt::LeftButton);
        cboEpoch->setCurrentText("法国");
        typeLine(test::named<QLineEdit>(&editor, "txtName"), "Verlaine");
        typePlain(test::named<QPlainTextEdit>(&editor, "txtDetail"), "法国诗人。");
        msg::Recorder boxes;
        test::clickButton(&editor, "cmdOK");
        QCOMPARE(scalar("select Country from ForeignAuthor where AuthorID=?", {editor.PoetID()}).toString(),
                 QString("法国"));
        QCOMPARE(scalar("select count(*) from ForeignAuthorDetail where AuthorID=?", {editor.PoetID()}).toInt(), 1);
    }

    void whatTheAuthorEditorRefuses()
    {
        frmAuthor editor(library->services());
        editor.setAddNew(true);
        showAndWait(editor);
        auto* txtName = test::named<QLineEdit>(&editor, "txtName");
        auto* txtDetail = test::named<QPlainTextEdit>(&editor, "txtDetail");
        msg::Recorder boxes;
        test::clickButton(&editor, "cmdOK");
        typeLine(txtName, "某人");
        test::clickButton(&editor, "cmdOK");
        typePlain(txtDetail, "简介");
        // No epoch chosen.
        test::clickButton(&editor, "cmdOK");
        QCOMPARE(boxes.texts(), QStringList({"必须输入作者姓名!", "必须输入作者简介!", "请选择作者所在的年代!"}));
        QCOMPARE(boxes.shown().at(0).title, QString("提示"));
        QVERIFY(editor.isVisible());
        QCOMPARE(counter("Author"), 0);

        // A save that fails writes nothing and keeps what was typed.
        test::seed(library->libraryFile, "create trigger broken before insert on ChinaAuthorDetail "
                                         "begin select raise(abort, 'disk full'); end");
        test::named<QComboBox>(&editor, "cboEpoch")->setCurrentText("宋");
        boxes.clear();
        test::clickButton(&editor, "cmdOK");
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY(boxes.texts().at(0).startsWith("无法保存作者资料："));
        // In the reader's words, not the engine's.
        QCOMPARE(boxes.texts().at(0), QString("无法保存作者资料：数据库语句执行失败：数据不符合诗词库的约束。"));
        QVERIFY(editor.isVisible());
        QCOMPARE(txtName->text(), QString("某人"));
        QCOMPARE(counter("Author"), 0);
        QCOMPARE(scalar("select count(*) from ChinaAuthor where AuthorName='某人'").toInt(), 0);

        // Only spaces are a name and a biography, as typed.
        test::seed(library->libraryFile, "drop trigger broken");
        typeLine(txtName, "  ");
        typePlain(txtDetail, " ");
        boxes.clear();
        test::clickButton(&editor, "cmdOK");
        QCOMPARE(boxes.texts(), QStringList({"已经保存"}));
        QCOMPARE(scalar("select AuthorName from ChinaAuthor where AuthorID=?", {editor.PoetID()}).toString(),
                 QString("  "));
    }

    void changingAForeignAuthor()
    {
        const QString id = scalar("select AuthorID from ForeignAuthor where AuthorName='雨果'").toString();
        frmAuthor editor(library->services());
        editor.setCountryType(LibrarySide::Foreign);
        editor.setPoetID(id);
        editor.setAddNew(false);
        editor.showAuthor("雨果", "法国作家。", "法国");
        showAndWait(editor);
        auto* optKind0 = test::named<QRadioButton>(&editor, "optKind_0");
        auto* optKind1 = test::named<QRadioButton>(&editor, "optKind_1");
        auto* cboEpoch = test::named<QComboBox>(&editor, "cboEpoch");
        QCOMPARE(editor.windowTitle(), QString("修改作者资料"));
        QVERIFY(optKind1->isChecked());
        QVERIFY(!optKind0->isEnabled() && !optKind1->isEnabled());
        QCOMPARE(cboEpoch->currentText(), QString("法国"));
        typeLine(test::named<QLineEdit>(&editor, "txtName"), "Victor Hugo");
        cboEpoch->setCurrentText("英国");
        msg::Recorder boxes;
        test::clickButton(&editor, "cmdOK");
        QCOMPARE(boxes.texts(), QStringList({"已经保存"}));
        QCOMPARE(scalar("select AuthorName from ForeignAuthor where AuthorID=?", {id}).toString(),
                 QString("Victor Hugo"));
        QCOMPARE(scalar("select Country from ForeignAuthor where AuthorID=?", {id}).toString(), QString("英国"));
        // No new ID was made; the poems moved with their author.
        QCOMPARE(counter("Author"), 0);
        QCOMPARE(scalar("select Country from ForeignPoem where AuthorID=? limit 1", {id}).toString(), QString("英国"));
        QCOMPARE(scalar("select count(*) from ForeignPoem where AuthorID=? and Country<>'英国'", {id}).toInt(), 0);
    }

    // ---- Poem editor ----

    void aNewPoemUsesItsNumberWhetherSavedOrNot()
    {
        test::seed(library->libraryFile, "update NewCount set Count=99 where Name='Poem'");
        const QString libai = scalar("select AuthorID from ChinaAuthor where AuthorName='李白'").toString();
        const QString tang = scalar("select EpochID from ChinaEpoch where Epoch='唐'").toString();
        {
            frmPoem cancelled(library->services());
            cancelled.setAddNew(true);
            cancelled.setCountryType(LibrarySide::China);
            cancelled.setPoetID(libai);
            cancelled.setEpochID(tang);
            showAndWait(cancelled);
            QCOMPARE(cancelled.PoemID(), QString("NewPoem100"));
            test::clickButton(&cancelled, "cmdCancel");
            QCOMPARE(cancelled.result(), int(QDialog::Rejected));
        }
        QCOMPARE(counter("Poem"), 100);
        QCOMPARE(scalar("select count(*) from ChinaPoem where PoemID='NewPoem100'").toInt(), 0);

        frmPoem editor(library->services());
        editor.setAddNew(true);
        editor.setCountryType(LibrarySide::China);
        editor.setPoetID(libai);
        editor.setEpochID(tang);
        showAndWait(editor);
        QCOMPARE(editor.windowTitle(), QString("增加新诗词"));
        QCOMPARE(test::named<QLineEdit>(&editor, "txtAuthor")->text(), QString("李白"));
        QCOMPARE(test::named<QLineEdit>(&editor, "txtEpoch")->text(), QString("唐"));
        QCOMPARE(test::named<QPlainTextEdit>(&editor, "txtNote")->toPlainText(), QString("〖注释〗"));
        typeLine(test::named<QLineEdit>(&editor, "txtName"), "秋浦歌");
        typePlain(test::named<QPlainTextEdit>(&editor, "txtDetail"), "白发三千丈，\n缘愁似个长。");
        msg::Recorder boxes;
        test::clickButton(&editor, "cmdOK");
        QCOMPARE(boxes.texts(), QStringList({"已经保存"}));
        QCOMPARE(counter("Poem"), 101);
        const QString row = "select %1 from ChinaPoem where PoemID='NewPoem101'";
        QCOMPARE(scalar(row.arg("Name")).toString(), QString("秋浦歌"));
        QCOMPARE(scalar(row.arg("Content")).toString(), QString("白发三千丈，\n缘愁似个长。"));
        QCOMPARE(scalar(row.arg("Note")).toString(), QString("〖注释〗"));
        QCOMPARE(scalar(row.arg("Author")).toString(), QString("李白"));
        QCOMPARE(scalar(row.arg("AuthorID")).toString(), libai);
        QCOMPARE(scalar(row.arg("Epoch")).toString(), QString("唐"));
        QCOMPARE(scalar(row.arg("EpochID")).toString(), tang);
        QCOMPARE(scalar(row.arg("tf")).toBool(), false);
    }

    void theThreeChecksInOrder()
    {
        frmPoem editor(library->services());
        editor.setAddNew(true);
        editor.setCountryType(LibrarySide::China);
        msg::Recorder boxes;
        editor.setPoetID("nobody");
        editor.setEpochID("E2");
        // A look-up that finds nothing leaves the field empty and says so.
        QCOMPARE(boxes.texts(), QStringList({"诗词库中找不到这位作者（nobody）。"}));
        QVERIFY(test::named<QLineEdit>(&editor, "txtAuthor")->text().isEmpty());
        showAndWait(editor);
        boxes.clear();
        test::clickButton(&editor, "cmdOK");
        typeLine(test::named<QLineEdit>(&editor, "txtName"), "题");
        test::clickButton(&editor, "cmdOK");
        typePlain(test::named<QPlainTextEdit>(&editor, "txtDetail"), "诗");
        test::named<QPlainTextEdit>(&editor, "txtNote")->clear();
        test::clickButton(&editor, "cmdOK");
        QCOMPARE(boxes.texts(), QStringList({"请输入诗词标题!", "请输入诗词内容!", "请输入诗词注释!"}));
        QVERIFY(editor.isVisible());
    }

    void changingAForeignPoem()
    {
        const QString poem = scalar("select PoemID from ForeignPoem where Name='Morning'").toString();
        const QString author = scalar("select AuthorID from ForeignPoem where PoemID=?", {poem}).toString();
        const QString country = scalar("select CountryID from ForeignPoem where PoemID=?", {poem}).toString();
        frmPoem editor(library->services());
        editor.setAddNew(false);
        editor.setCountryType(LibrarySide::Foreign);
        editor.setPoetID(author);
        editor.setEpochID(country);
        editor.setPoemID(poem);
        showAndWait(editor);
        auto* txtName = test::named<QLineEdit>(&editor, "txtName");
        QCOMPARE(editor.windowTitle(), QString("修改现有诗词"));
        QCOMPARE(test::named<QLineEdit>(&editor, "txtAuthor")->text(), QString("O'Brien"));
        QCOMPARE(test::named<QLineEdit>(&editor, "txtEpoch")->text(), QString("英国"));
        QCOMPARE(txtName->text(), QString("Morning"));
        QCOMPARE(test::named<QPlainTextEdit>(&editor, "txtDetail")->toPlainText(),
                 QString("The sun comes up.\n\nThe day begins."));
        typeLine(txtName, "Dawn");
        typePlain(test::named<QPlainTextEdit>(&editor, "txtNote"), "新的注释");
        msg::Recorder boxes;
        test::clickButton(&editor, "cmdOK");
        QCOMPARE(boxes.texts(), QStringList({"已经保存"}));
        const QString row = "select %1 from ForeignPoem where PoemID=?";
        QCOMPARE(scalar(row.arg("Name"), {poem}).toString(), QString("Dawn"));
        QCOMPARE(scalar(row.arg("Note"), {poem}).toString(), QString("新的注释"));
        QCOMPARE(scalar(row.arg("Author"), {poem}).toString(), QString("O'Brien"));
        QCOMPARE(scalar(row.arg("CountryID"), {poem}).toString(), country);
        QCOMPARE(counter("Poem"), 0);
    }

    // Saved unchanged, every stored byte stays (CR, CR LF, a byte that is no UTF-8); a
    // field changed keeps its own line breaks whatever the reader typed.
    void whatTheReaderLeavesIsKeptByteForByte()
    {
        const QString poem = scalar("select PoemID from ChinaPoem where Name='春望'").toString();
        test::seed(library->libraryFile, "update ChinaPoem set Content=?, Note=cast(X'E6B3A80DFF' as text) where PoemID=?",
                   {QString("一行\r二行\r\n三行\n"), poem});
        const QString bytes = "select hex(Name)||'|'||hex(Content)||'|'||hex(Note) from ChinaPoem where PoemID=?";
        const QString before = scalar(bytes, {poem}).toString();
        const auto edit = [&](const std::function<void(frmPoem&)>& change) {
            frmPoem editor(library->services());
            editor.setAddNew(false);
            editor.setCountryType(LibrarySide::China);
            editor.setPoetID(scalar("select AuthorID from ChinaPoem where PoemID=?", {poem}).toString());
            editor.setEpochID(scalar("select EpochID from ChinaPoem where PoemID=?", {poem}).toString());
            editor.setPoemID(poem);
            showAndWait(editor);
            change(editor);
            msg::Recorder boxes;
            test::clickButton(&editor, "cmdOK");
            QCOMPARE(boxes.texts(), QStringList({"已经保存"}));
        };
        edit([](frmPoem&) {});
        QCOMPARE(scalar(bytes, {poem}).toString(), before);
        // The text changed (a pasted CR LF and a typed line separator in it): written with
        // the stored text's first line break, CR; the notes, left alone, stay.
        edit([](frmPoem& editor) {
            auto* text = test::named<QPlainTextEdit>(&editor, "txtDetail");
            text->setPlainText(text->toPlainText() + QString("四行\r\n五行") + QChar(0x2028) + "六行");
        });
        QCOMPARE(scalar("select Content from ChinaPoem where PoemID=?", {poem}).toString(),
                 QString("一行\r二行\r三行\r四行\r五行\r六行"));
        QCOMPARE(scalar("select hex(Note) from ChinaPoem where PoemID=?", {poem}).toString(), QString("E6B3A80DFF"));
    }

    // An author's biography left as it was stays byte for byte.
    void anAuthorsBiographyLeftAlone()
    {
        const QString id = scalar("select AuthorID from ChinaAuthor where AuthorName='杜甫'").toString();
        test::seed(library->libraryFile, "update ChinaAuthorDetail set AuthorDetail=? where AuthorID=?",
                   {QString("杜甫，\r\n字子美。\r\n"), id});
        const QString bytes = "select hex(AuthorDetail) from ChinaAuthorDetail where AuthorID=?";
        const QString before = scalar(bytes, {id}).toString();
        frmAuthor editor(library->services());
        editor.setCountryType(LibrarySide::China);
        editor.setPoetID(id);
        editor.setAddNew(false);
        editor.showAuthor("杜甫", "杜甫，\n字子美。\n", "唐");
        showAndWait(editor);
        msg::Recorder boxes;
        test::clickButton(&editor, "cmdOK");
        QCOMPARE(boxes.texts(), QStringList({"已经保存"}));
        QCOMPARE(scalar(bytes, {id}).toString(), before);
    }

    void aFailedPoemSaveKeepsTheInput()
    {
        const QString poem = scalar("select PoemID from ChinaPoem where Name='春望'").toString();
        frmPoem editor(library->services());
        editor.setAddNew(false);
        editor.setCountryType(LibrarySide::China);
        editor.setPoemID(poem);
        showAndWait(editor);
        test::seed(library->libraryFile, "create trigger broken before update on ChinaPoem "
                                         "begin select raise(abort, 'disk full'); end");
        auto* txtName = test::named<QLineEdit>(&editor, "txtName");
        typeLine(txtName, "新题");
        msg::Recorder boxes;
        test::clickButton(&editor, "cmdOK");
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY(boxes.texts().at(0).startsWith("无法保存诗词："));
        QVERIFY(editor.isVisible());
        QCOMPARE(txtName->text(), QString("新题"));
        QCOMPARE(scalar("select Name from ChinaPoem where PoemID=?", {poem}).toString(), QString("春望"));
    }

    // Titles and names longer than a line field's usual limit are kept whole: saved
    // unchanged, pasted in, never cut with "已经保存" shown.
    void longTitlesAndNamesAreKeptWhole()
    {
        const QString poem = scalar("select PoemID from ChinaPoem where Name='春望'").toString();
        const QString longTitle = QString(40000, QChar(0x6625)) + "尾";
        test::seed(library->libraryFile, "update ChinaPoem set Name=? where PoemID=?", {longTitle, poem});
        {
            frmPoem editor(library->services());
            editor.setAddNew(false);
            editor.setCountryType(LibrarySide::China);
            editor.setPoemID(poem);
            showAndWait(editor);
            msg::Recorder boxes;
            test::clickButton(&editor, "cmdOK");
            QCOMPARE(boxes.texts(), QStringList({"已经保存"}));
        }
        QCOMPARE(scalar("select Name from ChinaPoem where PoemID=?", {poem}).toString(), longTitle);

        const QString id = scalar("select AuthorID from ChinaAuthor where AuthorName='杜甫'").toString();
        frmAuthor author(library->services());
        author.setCountryType(LibrarySide::China);
        author.setPoetID(id);
        author.setAddNew(false);
        author.showAuthor("杜甫", "唐代诗人。", "唐");
        showAndWait(author);
        const QString longName = QString(33000, QChar(0x675c)) + "甫";
        QGuiApplication::clipboard()->setText(longName);
        auto* txtName = test::named<QLineEdit>(&author, "txtName");
        txtName->selectAll();
        QTest::keyClick(txtName, Qt::Key_V, Qt::ControlModifier);
        msg::Recorder boxes;
        test::clickButton(&author, "cmdOK");
        QCOMPARE(boxes.texts(), QStringList({"已经保存"}));
        QCOMPARE(scalar("select AuthorName from ChinaAuthor where AuthorID=?", {id}).toString(), longName);
    }
};

QTEST_MAIN(tst_Editors)
#include "tst_editors.moc"
