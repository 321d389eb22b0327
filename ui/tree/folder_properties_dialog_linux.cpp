#include "ui/tree/folder_properties_dialog_linux.h"
#include "engine/folder_operations_linux.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString SizeText(std::uint64_t bytes) {
    const QString exact = QStringLiteral("%1 字节").arg(bytes);
    if (bytes < 1024) return exact;
    const QString rounded =
        QLocale::c().formattedDataSize(static_cast<qint64>(bytes), 1, QLocale::DataSizeIecFormat);
    return QStringLiteral("%1（%2）").arg(rounded, exact);
}

QString ContentsText(const engine::TFolderProperties& properties) {
    return QStringLiteral("%1 个文件，%2 个文件夹")
        .arg(properties.FileCount)
        .arg(properties.FolderCount);
}

QString ModifiedText(const engine::TDateTime& when, const engine::TFormatSettings& settings) {
    return QString::fromStdString(engine::ModificationText(when, settings));
}

QString PermissionsText(std::uint32_t mode) {
    return QStringLiteral("%1（%2）")
        .arg(QString::fromStdString(engine::PermissionText(mode)),
             QString::fromStdString(engine::OctalPermissionText(mode)));
}

QLabel* AddRow(QFormLayout* form, const QString& caption, const QString& text, const char* name) {
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(caption, label);
    return label;
}

} // namespace

TFolderPropertiesDialog::TFolderPropertiesDialog(const QByteArray& path,
                                                 const engine::TFormatSettings& settings,
                                                 QWidget* parent)
    : QDialog(parent) {
    const engine::TFolderProperties properties = engine::ReadFolderProperties(path.toStdString());
    setWindowTitle(QStringLiteral("属性"));
    auto* form = new QFormLayout;
    AddRow(form, QStringLiteral("位置："), QString::fromUtf8(path), "PathLabel")->setWordWrap(true);
    AddRow(form, QStringLiteral("大小："), SizeText(properties.ContentBytes), "SizeLabel");
    AddRow(form, QStringLiteral("包含："), ContentsText(properties), "ContentsLabel");
    AddRow(form, QStringLiteral("修改时间："), ModifiedText(properties.Modified, settings),
           "ModifiedLabel");
    AddRow(form, QStringLiteral("权限："), PermissionsText(properties.Mode), "PermissionsLabel");
    auto* buttons = new QDialogButtonBox;
    auto* close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CloseButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}
