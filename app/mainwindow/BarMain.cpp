#include "BarMain.h"

#include "ui/Icons.h"

#include <QAction>
#include <QHash>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace qelvane {

namespace {

struct ToolRow {
    const char* name;    // "tbSec" / "mnuSec" for a separator
    const char* caption;
    const char* tip;
    const char* glyph;   // tool-bar image
    QRgb tile;
};

const ToolRow ToolBarTools[] = {
    {"tbAll", "全部", "全部诗词内容", "全", 0x2e6b8a},
    {"tbFavorite", "收藏", "收藏夹内容", "藏", 0xb07d2b},
    {"tbSec", nullptr, nullptr, nullptr, 0},
    {"tbAdd", "添加", "添加新诗词", "添", 0x3a7d44},
    {"tbEdit", "编辑", "修改当前诗词", "编", 0x3a7d44},
    {"tbDelete", "删除", "删除当前诗词", "删", 0x9c2a2a},
    {"tbSave", "输出", "将当前诗词输出为文档，用文字处理程序打开", "出", 0x5b4b8a},
    {"tbSec", nullptr, nullptr, nullptr, 0},
    {"tbFind", "查找", "查找诗词", "查", 0x2e6b8a},
    {"tbAddFavorite", "加入收藏", "将您喜爱的这首诗加入收藏夹", "爱", 0xc0392b},
    {"tbSec", nullptr, nullptr, nullptr, 0},
    {"tbHelp", "帮助", "系统帮助文件", "助", 0x5b4b8a},
    {"tbSec", nullptr, nullptr, nullptr, 0},
    {"tbExit", "退出", "退出程序", "退", 0x555555},
};

struct MenuBand {
    const char* name;
    const char* header;
    const char* caption;
    QList<QPair<const char*, const char*>> tools;
};

const QList<MenuBand>& menuBands()
{
    static const QList<MenuBand> bands = {
        {"mnuFile", "文件(&F)", "文件",
         {{"mnuAllPoems", "全部诗词(&A)"}, {"mnuFavoritePoems", "收藏夹诗词(&F)"}, {"mnuSec", nullptr},
          {"mnuPrint", "打印(&P)..."}, {"mnuPrintNotes", "打印和输出时包括注释"}, {"mnuSec", nullptr}, {"mnuExit", "退出(&X)..."}}},
        {"mnuEdit", "编辑(&E)", "编辑",
         {{"mnuFind", "查找(&S)..."}, {"mnuSec", nullptr}, {"mnuAddNewAuthor", "添加作者..."},
          {"mnuAddNewPoem", "添加诗词..."}, {"mnuSec", nullptr}, {"mnuEditAuthor", "修改作者..."},
          {"mnuEditPoem", "修改诗词..."}, {"mnuSec", nullptr}, {"mnuDeleteAuthor", "删除作者..."},
          {"mnuDeletePoem", "删除诗词..."}, {"mnuDeleteEpoch", "删除年代(国家)..."}, {"mnuSec", nullptr},
          {"mnuSave", "输出为文档..."}, {"mnuSavePdf", "输出为 PDF..."}, {"mnuSavePicture", "保存为图片..."},
          {"mnuSec", nullptr}, {"mnuCopyPoem", "复制诗词(&C)"}, {"mnuCopyPicture", "复制为图片"}}},
        {"mnuView", "查看(&V)", "查看",
         {{"mnuBack", "后退(&B)"}, {"mnuForward", "前进(&O)"}, {"mnuSec", nullptr},
          {"mnuZoomIn", "放大(&I)"}, {"mnuZoomOut", "缩小(&U)"}, {"mnuZoomReset", "原始大小(&R)"}, {"mnuSec", nullptr},
          {"mnuVerseCentred", "诗句居中(&C)"}, {"mnuVertical", "竖排(&S)"}, {"mnuNoPunctuation", "竖排不加标点"}, {"mnuTraditional", "繁体显示(&T)"}, {"mnuSec", nullptr},
          {"mnuMetre", "格律(&M)"}, {"mnuMetreXinyun", "格律按中华新韵"}, {"mnuSameMetre", "同体同韵的诗词(&Y)"},
          {"mnuPinyin", "拼音(&J)"},
          {"mnuSec", nullptr},
          {"mnuLookDefault", "默认外观(&D)"}, {"mnuLookPaper", "纸张外观(&P)"}, {"mnuLookNight", "夜间外观(&N)"}}},
        {"mnuFavorite", "收藏(&G)", "收藏",
         {{"mnuAddFavorite", "添加到收藏夹"}, {"mnuCleanFavorite", "整理收藏夹..."}}},
        {"mnuTools", "工具(&T)", "工具",
         {{"mnuPoemFormat", "诗词格式查询..."}, {"mnuSec", nullptr}, {"mnuOptions", "系统设置(&O)..."}}},
        {"mnuHelp", "帮助(&H)", "帮助",
         {{"mnuHelpContent", "帮助内容(&C)..."}, {"mnuSec", nullptr}, {"mnuAbout", "关于(&A)..."}}},
    };
    return bands;
}

// Keys beside the access keys of the captions, shown in the menus. The tool bar's
// buttons are their menu twins, so these reach them too.
QKeySequence shortcutOf(const QString& name)
{
    static const QHash<QString, QKeySequence> keys = {
        {QStringLiteral("mnuFind"), QKeySequence(Qt::CTRL | Qt::Key_F)},
        {QStringLiteral("mnuHelpContent"), QKeySequence(Qt::Key_F1)},
        {QStringLiteral("mnuAddFavorite"), QKeySequence(Qt::CTRL | Qt::Key_D)},
        {QStringLiteral("mnuAddNewPoem"), QKeySequence(Qt::CTRL | Qt::Key_N)},
        {QStringLiteral("mnuEditPoem"), QKeySequence(Qt::CTRL | Qt::Key_E)},
        {QStringLiteral("mnuSave"), QKeySequence(Qt::CTRL | Qt::Key_S)},
        {QStringLiteral("mnuDeletePoem"), QKeySequence(Qt::Key_Delete)},
        {QStringLiteral("mnuCopyPoem"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
        {QStringLiteral("mnuPrint"), QKeySequence(Qt::CTRL | Qt::Key_P)},
        {QStringLiteral("mnuBack"), QKeySequence(Qt::ALT | Qt::Key_Left)},
        {QStringLiteral("mnuForward"), QKeySequence(Qt::ALT | Qt::Key_Right)},
        {QStringLiteral("mnuZoomIn"), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        {QStringLiteral("mnuZoomOut"), QKeySequence(Qt::CTRL | Qt::Key_Minus)},
        {QStringLiteral("mnuZoomReset"), QKeySequence(Qt::CTRL | Qt::Key_0)},
        {QStringLiteral("mnuMetre"), QKeySequence(Qt::CTRL | Qt::Key_M)},
        {QStringLiteral("mnuSameMetre"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)},
    };
    return keys.value(name);
}

bool isSeparator(const QString& name)
{
    return name == QLatin1String("tbSec") || name == QLatin1String("mnuSec");
}

// The view tools show which of the two views is on.
bool isToggle(const QString& name)
{
    return name == QLatin1String("tbAll") || name == QLatin1String("tbFavorite") ||
           name == QLatin1String("mnuAllPoems") || name == QLatin1String("mnuFavoritePoems") ||
           name.startsWith(QLatin1String("mnuLook")) || name == QLatin1String("mnuVerseCentred") || name == QLatin1String("mnuVertical") || name == QLatin1String("mnuNoPunctuation") ||
           name == QLatin1String("mnuPrintNotes") ||
           name == QLatin1String("mnuTraditional") || name == QLatin1String("mnuMetre") || name == QLatin1String("mnuMetreXinyun") ||
           name == QLatin1String("mnuPinyin");
}

} // namespace

BarMain::BarMain(QWidget* host) : QObject(host), m_menuBar(new QMenuBar(host)), m_toolBar(new QToolBar(host))
{
    m_menuBar->setObjectName(QStringLiteral("mnuMain"));
    m_bands.insert(QStringLiteral("mnuMain"), m_menuBar);
    m_captions.insert(QStringLiteral("mnuMain"), QStringLiteral("主菜单"));
    for (const MenuBand& band : menuBands()) {
        QMenu* menu = new QMenu(QString::fromUtf8(band.header), m_menuBar);
        menu->setObjectName(QString::fromLatin1(band.name));
        QAction* header = m_menuBar->addMenu(menu);
        header->setObjectName(QString::fromLatin1(band.name));
        connect(header, &QAction::triggered, this, [this, header] { emit ToolClick(header->objectName()); });
        m_bands.insert(menu->objectName(), menu);
        m_captions.insert(menu->objectName(), QString::fromUtf8(band.caption));
        for (const auto& [name, caption] : band.tools)
            addTool(menu->objectName(), menu, QString::fromLatin1(name), QString::fromUtf8(caption), {});
    }

    m_toolBar->setObjectName(QStringLiteral("tbMain"));
    m_toolBar->setWindowTitle(QStringLiteral("标准"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar->setIconSize(QSize(18, 18));
    m_toolBar->setMovable(false);
    m_bands.insert(QStringLiteral("tbMain"), m_toolBar);
    m_captions.insert(QStringLiteral("tbMain"), QStringLiteral("标准"));
    for (const ToolRow& row : ToolBarTools) {
        const QString name = QString::fromLatin1(row.name);
        QAction* action = addTool(QStringLiteral("tbMain"), m_toolBar, name, QString::fromUtf8(row.caption),
                                  QString::fromUtf8(row.tip));
        if (row.glyph)
            action->setIcon(glyphIcon(QString::fromUtf8(row.glyph), QColor(row.tile)));
    }
}

QAction* BarMain::addTool(const QString& band, QWidget* container, const QString& name, const QString& caption,
                          const QString& tip)
{
    QAction* action = new QAction(container);
    action->setObjectName(name);
    action->setProperty("band", band);
    if (isSeparator(name)) {
        action->setSeparator(true);
    } else {
        action->setText(caption);
        // A tool-bar button shows its caption without the access-key marks of a menu.
        action->setIconText(QString(caption).remove(QLatin1Char('&')));
        if (!tip.isEmpty())
            action->setToolTip(tip);
        action->setCheckable(isToggle(name));
        action->setShortcut(shortcutOf(name));
    }
    container->addAction(action);
    connect(action, &QAction::triggered, this, [this, action, name](bool checked) {
        // A checked tool shows the program's state, not the click: Qt's own toggle is
        // undone here and the command decides what is checked.
        if (action->isCheckable())
            action->setChecked(!checked);
        emit ToolClick(name);
    });
    return action;
}

QAction* BarMain::Tool(const QString& band, const QString& tool) const
{
    QWidget* container = m_bands.value(band);
    if (!container)
        return nullptr;
    for (QAction* action : container->actions()) {
        if (action->objectName() == tool)
            return action;
    }
    return nullptr;
}

QString BarMain::bandCaption(const QString& band) const
{
    return m_captions.value(band);
}

QList<QAction*> BarMain::bandTools(const QString& band) const
{
    QWidget* container = m_bands.value(band);
    return container ? container->actions() : QList<QAction*>();
}

void BarMain::RecalcLayout()
{
    m_menuBar->update();
    m_toolBar->update();
}

} // namespace qelvane
