#include "devicetreefiller.h"

#include "projectstore.h"

#include <QCoreApplication>
#include <QTreeWidget>

namespace lumaro {

namespace {
QTreeWidgetItem *child(QTreeWidgetItem *parent, const QString &label)
{
    auto *item = new QTreeWidgetItem(parent, QStringList{label});
    return item;
}
}  // namespace

DeviceTreeFiller::DeviceTreeFiller(QTreeWidget &tree) : m_tree(tree)
{
}

void DeviceTreeFiller::showLoading()
{
    m_loading = new QTreeWidgetItem(&m_tree, QStringList{QCoreApplication::translate("CMyTreeCtrlDevice", "Loading,Please wait...")});
}

void DeviceTreeFiller::begin()
{
    if (m_root)
        delete m_root;
    m_gateways.clear();
    m_groups.clear();
    m_folders.clear();
    m_root = new QTreeWidgetItem(QStringList{QCoreApplication::translate("CMyTreeCtrlDevice", "Devices")});
    m_tree.insertTopLevelItem(0, m_root);
}

void DeviceTreeFiller::finish(const ProjectStore &store)
{
    auto *expand = new QTreeWidgetItem(&m_tree, QStringList{QCoreApplication::translate("CMyTreeCtrlDevice", "ExpandControl")});
    for (int i = 0; i < ProjectStore::kExpandGroupLimit; ++i) {
        const QString section = QStringLiteral("E%1").arg(i);
        if (store.readSection(ProjectFile::Db, section))
            child(expand, store.read(ProjectFile::Db, section, QStringLiteral("NAME"), QStringLiteral("Exp%1").arg(i)) + QStringLiteral("#") + section);
    }
    auto *timing = new QTreeWidgetItem(&m_tree, QStringList{QCoreApplication::translate("CMyTreeCtrlDevice", "TimingControl")});
    QString timer = store.read(ProjectFile::Db, QStringLiteral("SEQ"), QStringLiteral("T0NAME"));
    child(timing, (timer.isEmpty() ? QStringLiteral("Timer") : timer) + QStringLiteral("#T0"));
    for (int i = 0; i < ProjectStore::kSequenceLimit; ++i) {
        const QString section = QStringLiteral("S%1").arg(i);
        if (store.readSection(ProjectFile::Db, section))
            child(timing, store.read(ProjectFile::Db, section, QStringLiteral("NAME"), QStringLiteral("SeqTab%1").arg(i)) + QStringLiteral("#") + section);
    }
    delete m_loading;
    m_loading = nullptr;
    m_root->setExpanded(true);
    m_tree.setCurrentItem(m_root);
}

void DeviceTreeFiller::onGateway(int gateway, const QString &label)
{
    m_gateways.insert(gateway, child(m_root, label));
}

void DeviceTreeFiller::onGroup(int gateway, int group, const QString &label)
{
    m_groups.insert(gateway * 16 + group, child(m_gateways.value(gateway), label));
}

void DeviceTreeFiller::onGroupMember(int gateway, int group, int, const QString &label)
{
    child(m_groups.value(gateway * 16 + group), label);
}

void DeviceTreeFiller::onGearFolder(int gateway, const QString &label)
{
    m_folders.insert(gateway, child(m_gateways.value(gateway), label));
}

void DeviceTreeFiller::onGear(int gateway, int, const QString &label)
{
    child(m_folders.value(gateway), label);
}

}  // namespace lumaro
