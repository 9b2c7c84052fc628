// A host that knows only the identifier: it loads the library file, creates the
// control by name and drives it through properties, signals and methods by name.
// This program does not link against the library.
#include <QLibrary>
#include <QMetaProperty>
#include <QPixmap>
#include <QWidget>
#include <QtTest>

using CreateControl = QWidget* (*)(const char*, QWidget*);

class tst_TolvarinHost : public QObject {
    Q_OBJECT
    QLibrary library{TOLVARIN_LIBRARY_FILE};
    CreateControl create = nullptr;
    int clicks = 0;

public slots:
    void countClick() { ++clicks; }

private slots:
    void initTestCase()
    {
        QVERIFY2(library.load(), qPrintable(library.errorString()));
        create = reinterpret_cast<CreateControl>(library.resolve("TolvarinCreateControl"));
        QVERIFY(create);
    }

    void onlyItsIdentifierMakesAControl()
    {
        QWidget host;
        QVERIFY(!create("TolvarinCtl.Other", &host));
        QVERIFY(!create("tolvarinctl.tolvarin", &host));
        QVERIFY(!create(nullptr, &host));
        QWidget* control = create("TolvarinCtl.Tolvarin", &host);
        QVERIFY(control);
        QCOMPARE(control->parentWidget(), &host);
        const QMetaObject* meta = control->metaObject();
        QCOMPARE(QString(meta->classInfo(meta->indexOfClassInfo("ProgID")).value()), QString("TolvarinCtl.Tolvarin"));
    }

    void drivenByNamesAlone()
    {
        QWidget host;
        host.setObjectName("form");
        QWidget* control = create("TolvarinCtl.Tolvarin", &host);
        control->resize(75, 23);
        QVERIFY(control->setProperty("Caption", QString("确定(&O)")));
        QCOMPARE(control->property("Caption").toString(), QString("确定(&O)"));
        QVERIFY(control->setProperty("Style", 2));
        QCOMPARE(control->property("Style").toInt(), 2);
        QCOMPARE(control->property("FR").toInt(), 2);
        QCOMPARE(control->property("ShowFocus").toBool(), true);
        QCOMPARE(control->property("ICOMaskColor").toUInt(), 0x00D30000u);
        QVERIFY(control->setProperty("Enabled", false));
        QVERIFY(!control->isEnabled());
        QVERIFY(control->setProperty("Enabled", true));
        QVERIFY(control->setProperty("ICON", QVariant::fromValue(QPixmap(16, 16))));
        QVERIFY(control->property("ICON").value<QPixmap>().size() == QSize(16, 16));

        QVERIFY(connect(control, SIGNAL(Click()), this, SLOT(countClick())));
        QTest::keyClick(control, Qt::Key_Return);
        QCOMPARE(clicks, 1);

        qint32 red = 0;
        QVERIFY(QMetaObject::invokeMethod(control, "GetRValue", Q_RETURN_ARG(qint32, red), Q_ARG(qint32, 0x00123456)));
        QCOMPARE(red, 0x56);
        // The enumerations are there by name too.
        const QMetaObject* meta = control->metaObject();
        QCOMPARE(meta->enumerator(meta->indexOfEnumerator("STYLES")).keyToValue("TVRN_SysColorPopup"), 2);
    }
};

QTEST_MAIN(tst_TolvarinHost)
#include "tst_tolvarin_host.moc"
