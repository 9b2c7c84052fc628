#include "TolvarinDesignerPlugin.h"

#include "TolvarinTaskMenu.h"
#include "tolvarin/Tolvarin.h"

#include <QDesignerFormEditorInterface>
#include <QExtensionManager>
#include <QMetaProperty>
#include <QPixmap>

namespace tolvarin {

TolvarinDesignerPlugin::TolvarinDesignerPlugin(QObject* parent) : QObject(parent) {}

QString TolvarinDesignerPlugin::name() const
{
    return QStringLiteral("tolvarin::Tolvarin");
}

QString TolvarinDesignerPlugin::group() const
{
    return QStringLiteral("Tolvarin");
}

QString TolvarinDesignerPlugin::toolTip() const
{
    return QStringLiteral("Tolvarin 按钮：以系统颜色绘制的命令按钮，可带图标");
}

// The type library's help strings, property by property.
QString TolvarinDesignerPlugin::whatsThis() const
{
    QStringList lines;
    const QMetaObject& meta = Tolvarin::staticMetaObject;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const char* property = meta.property(i).name();
        const QString help = Tolvarin::propertyHelp(property);
        if (!help.isEmpty())
            lines << QStringLiteral("%1：%2").arg(QLatin1String(property), help);
    }
    return lines.join(QLatin1Char('\n'));
}

QString TolvarinDesignerPlugin::includeFile() const
{
    return QStringLiteral("tolvarin/Tolvarin.h");
}

// The widget box shows a small button face.
QIcon TolvarinDesignerPlugin::icon() const
{
    Tolvarin sample;
    sample.setCaption(QStringLiteral("Ab"));
    sample.resize(40, 22);
    return QIcon(sample.grab());
}

bool TolvarinDesignerPlugin::isContainer() const
{
    return false;
}

QWidget* TolvarinDesignerPlugin::createWidget(QWidget* parent)
{
    return new Tolvarin(parent);
}

bool TolvarinDesignerPlugin::isInitialized() const
{
    return m_initialized;
}

void TolvarinDesignerPlugin::initialize(QDesignerFormEditorInterface* core)
{
    if (m_initialized)
        return;
    QExtensionManager* manager = core->extensionManager();
    manager->registerExtensions(new TolvarinTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
    m_initialized = true;
}

QString TolvarinDesignerPlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="tolvarin::Tolvarin" name="cmdButton">
  <property name="geometry"><rect><x>0</x><y>0</y><width>75</width><height>23</height></rect></property>
  <property name="Caption"><string>确定(&amp;O)</string></property>
 </widget>
</ui>)");
}

} // namespace tolvarin
