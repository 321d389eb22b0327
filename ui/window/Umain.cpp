#include "ui/window/Umain.h"

#include <limits>

#include <QApplication>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLineEdit>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

#include "ui/common/error_display.h"
#include "ui/tree/shell_tree_view.h"
#include "ui/widgets/cut_text_delegate.h"
#include "ui/widgets/fixed_frame.h"
#include "ui/widgets/group_box.h"
#include "ui/widgets/label.h"
#include "ui/widgets/palette_colors.h"
#include "ui/widgets/radio_group.h"
#include "ui/widgets/rz_bit_btn.h"
#include "ui/widgets/rz_panel.h"
#include "ui/widgets/status_bar.h"
#include "ui/widgets/up_down.h"
#include "ui/window/accessible_names.h"
#include "ui/window/batch_runner.h"
#include "ui/window/batch_status.h"
#include "ui/window/entry_model.h"
#include "ui/window/regional_settings_watch.h"
#include "ui/window/undo_controller.h"

namespace {

constexpr int DesignDpi = 96;
constexpr int DesignTextHeight = 12;
constexpr QSize DesignClientSize(863, 494);
constexpr int TreeWidth = 217;
constexpr int StripHeight = 45;
constexpr int StatusBarHeight = 19;
const QString SongTi = QStringLiteral("宋体");

// 宋体 is SimSun's Chinese name, which Windows knows only in Chinese settings and fontconfig
// never; without a substitute Chinese may render as boxes. The first installed substitute is
// asked for by name: every size or weight of a family the system lacks costs a search.
QString WindowFontFamily() {
    static const QString family = [] {
        const QStringList substitutes = {
            QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
            QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")};
        const QStringList installed = QFontDatabase::families();
        if (installed.contains(SongTi)) return SongTi;
        for (const QString& substitute : substitutes)
            if (installed.contains(substitute)) return substitute;
        QFont::insertSubstitutions(SongTi, substitutes);
        return SongTi;
    }();
    return family;
}

// The platform's status-bar font; every property marked as set so the window font does not
// override it.
QFont StatusBarFont() {
    QFont font = QApplication::font("QStatusBar");
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

} // namespace

TFrmMain::TFrmMain(engine::TFormatSettings formatSettings, QWidget* parent)
    : QWidget(parent), m_formatSettings(std::move(formatSettings)) {
    createWindowFrame();
    createFolderTree();
    createStrip();
    createFileList();
    createStatusBar();
    createWorkers();
    il = MakeMainImageList();
    linkControls();
    NameControlsForScreenReaders(this);
    setTabOrders();
    alignControls();
    startFolderTree();
    FormCreate();
    connectHandlers();
    createUndo();
    connect(new TRegionalSettingsWatch(this), &TRegionalSettingsWatch::changed, this,
            [this] { setFormatSettings(ReadRegionalSettings()); });
    centreOnPrimaryScreen();
    ShellTreeView1->setFocus();
}

int TFrmMain::scaled(int designPixels) const {
    return designPixels * m_textHeight / DesignTextHeight;
}

void TFrmMain::createWindowFrame() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Zelvora 2011"));
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);
    setAcceptDrops(true);
    const int dpi = logicalDpiY();
    m_textHeight = dpi == DesignDpi ? DesignTextHeight : DesignTextHeight * dpi / DesignDpi;
    QFont font(WindowFontFamily());
    font.setPixelSize(m_textHeight);
    setFont(font);
    m_designSize = QSize(scaled(DesignClientSize.width()), scaled(DesignClientSize.height()));
    setMinimumSize(m_designSize);
    resize(m_designSize);
}

template <typename TWidget>
TWidget* TFrmMain::place(TWidget* widget, const char* name, int left, int top, int width,
                         int height) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(scaled(left), scaled(top), scaled(width), scaled(height));
    return widget;
}

TLabel* TFrmMain::makeLabel(QWidget* parent, const char* name, const QString& caption, QPoint at) {
    auto* label = place(new TLabel(parent), name, at.x(), at.y(), 0, DesignTextHeight);
    label->setCaption(caption);
    return label;
}

QLineEdit* TFrmMain::makeEdit(QWidget* parent, const char* name, const QString& text, QRect at) {
    auto* edit = place(new QLineEdit(parent), name, at.x(), at.y(), at.width(), at.height());
    edit->setMaxLength(std::numeric_limits<int>::max()); // Qt cuts at 32767 characters otherwise
    edit->setText(text);
    return edit;
}

TRzBitBtn* TFrmMain::makeButton(const char* name, const QString& caption, int left) {
    auto* button = place(new TRzBitBtn(RzPanel1), name, left, 11, 75, 25);
    button->setText(caption);
    return button;
}

void TFrmMain::createFolderTree() {
    ShellTreeView1 = place(new TShellTreeView(this), "ShellTreeView1", 0, 0, TreeWidth, 430);
    ShellTreeView1->setIndentation(scaled(19));
    ShellTreeView1->setFormatSettings(m_formatSettings);
}

void TFrmMain::createStrip() {
    RzPanel1 = place(new TRzPanel(this), "RzPanel1", 0, 430, 863, StripHeight);
    RzBitBtn4 = makeButton("RzBitBtn4", QStringLiteral("关闭"), 784);
    createRadioGroup();
    createNumberingBox();
    RzBitBtn1 = makeButton("RzBitBtn1", QStringLiteral("应用改名"), 704);
    createDeleteBox();
}

void TFrmMain::createRadioGroup() {
    RadioGroup1 =
        place(new TRadioGroup(QStringLiteral("改名类型"), RzPanel1), "RadioGroup1", 3, 1, 188, 41);
    RadioGroup1->setColumns(4);
    RadioGroup1->setItems({QStringLiteral("前缀"), QStringLiteral("后缀"), QStringLiteral("替换"),
                           QStringLiteral("删除")});
}

// The numbering box and the delete box alike: a start field and a digit-count field, each with
// its label and up-down, at the same places. `ownLabels` adds a box's further labels before the
// fields, so that the controls are made in the same order as ever. `names` are the box's and
// its controls', in the order returned.
TFrmMain::TCountBox TFrmMain::makeCountBox(const QString& caption, QRect at,
                                           const std::array<const char*, 7>& names,
                                           const std::function<void(QGroupBox*)>& ownLabels) {
    auto* box =
        place(new TGroupBox(caption, RzPanel1), names[0], at.x(), at.y(), at.width(), at.height());
    TLabel* startLabel = makeLabel(box, names[1], QStringLiteral("开始"), {8, 20});
    TLabel* digitsLabel = makeLabel(box, names[2], QStringLiteral("位数"), {80, 20});
    if (ownLabels) ownLabels(box);
    QLineEdit* start = makeEdit(box, names[3], QStringLiteral("1"), {32, 16, 25, 20});
    auto* startStep = place(new TUpDown(box), names[4], 57, 16, 16, 20);
    startStep->setPosition(1);
    auto* digitsStep = place(new TUpDown(box), names[5], 129, 13, 16, 20);
    digitsStep->setPosition(4);
    QLineEdit* digits = makeEdit(box, names[6], QStringLiteral("4"), {104, 13, 25, 20});
    return {box, startLabel, digitsLabel, start, startStep, digitsStep, digits};
}

void TFrmMain::createNumberingBox() {
    std::tie(GroupBox1, Label1, Label2, Edit1, UpDown1, UpDown2, Edit2) = makeCountBox(
        QStringLiteral("批量序号"), {193, 1, 363, 41},
        {"GroupBox1", "Label1", "Label2", "Edit1", "UpDown1", "UpDown2", "Edit2"},
        [this](QGroupBox* box) {
            Label3 = makeLabel(box, "Label3", QStringLiteral("例：A-0001 "), {296, 16});
            QPalette red = Label3->palette();
            red.setColor(QPalette::WindowText, Qt::red);
            Label3->setPalette(red);
            Label4 = makeLabel(box, "Label4", QStringLiteral("前字符"), {152, 20});
            Label5 = makeLabel(box, "Label5", QStringLiteral("后字符"), {224, 20});
        });
    Edit3 = makeEdit(GroupBox1, "Edit3", QStringLiteral("A-"), {192, 13, 33, 20});
    Edit4 = makeEdit(GroupBox1, "Edit4", QStringLiteral(" "), {264, 13, 25, 20});
}

void TFrmMain::createDeleteBox() {
    std::tie(GroupBox2, Label6, Label7, Edit5, UpDown3, UpDown4, Edit6) =
        makeCountBox(QStringLiteral("删除字符"), {557, 1, 147, 41},
                     {"GroupBox2", "Label6", "Label7", "Edit5", "UpDown3", "UpDown4", "Edit6"}, {});
}

void TFrmMain::createFileList() {
    ListView1 = place(new QTreeView(this), "ListView1", TreeWidth, 0, 646, 430);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemDelegate(new TCutTextDelegate(ListView1));
    ListView1->setUniformRowHeights(true);
    ListView1->setItemsExpandable(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::SelectedClicked |
                               QAbstractItemView::EditKeyPressed);
    ListView1->setIconSize(QSize(TImageList::PictureSize, TImageList::PictureSize));
    HideInactiveSelection(*ListView1);
    m_entries = new TEntryModel(this);
    ListView1->setModel(m_entries);
    QHeaderView* header = ListView1->header();
    header->setStretchLastSection(false);
    header->setSectionsClickable(true);
    const int widths[] = {160, 160, 50, 140};
    for (int column = 0; column < TEntryModel::ColumnCount; ++column)
        header->resizeSection(column, scaled(widths[column]));
}

void TFrmMain::createStatusBar() {
    StatusBar1 = place(new TStatusBar(this), "StatusBar1", 0, 475, 863, StatusBarHeight);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFont(StatusBarFont());
    auto* credit = new QLabel(QStringLiteral("Zelvora — 批量改名，一次完成"), StatusBar1);
    credit->setObjectName(QStringLiteral("StatusPanel"));
    credit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    credit->setContentsMargins(0, 0, scaled(4), 0);
    StatusBar1->addWidget(credit, 1);
    m_batchStatus = new TBatchStatus(StatusBar1, credit, this);
}

void TFrmMain::linkControls() {
    UpDown1->setBuddy(Edit1);
    UpDown2->setBuddy(Edit2);
    UpDown3->setBuddy(Edit5);
    UpDown4->setBuddy(Edit6);
    RzBitBtn4->setIcon(il.icon(TImageList::ClosePicture));
    m_entries->setImages(il);
}

void TFrmMain::setTabOrders() {
    const QWidget* order[] = {ShellTreeView1, RzBitBtn4, RadioGroup1, Edit1, Edit2,    Edit3,
                              Edit4,          RzBitBtn1, Edit5,       Edit6, ListView1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
}

// The tree selects its top node, whose change lists the desktop's folder before FormCreate.
void TFrmMain::startFolderTree() {
    connect(ShellTreeView1, &TShellTreeView::changed, this, &TFrmMain::ShellTreeView1Change);
    Guarded([this] { ShellTreeView1->buildRoot(); });
}

void TFrmMain::connectHandlers() {
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6})
        connect(edit, &QLineEdit::textChanged, this, &TFrmMain::Edit1Change);
    connect(RadioGroup1, &TRadioGroup::itemIndexChanged, this, &TFrmMain::clearOutcome);
    connect(m_entries, &TEntryModel::oldNameEdited, this, &TFrmMain::clearOutcome);
    connect(RzBitBtn1, &TRzBitBtn::clicked, this, &TFrmMain::RzBitBtn1Click);
    connect(RzBitBtn4, &TRzBitBtn::clicked, this, &TFrmMain::RzBitBtn4Click);
}

// Centred by the inner size until the window manager's frame is known, then by the frame.
void TFrmMain::centreOnPrimaryScreen() {
    new TFixedFrame(this);
    TFixedFrame::centreOnPrimaryScreen(this);
}

// The tree keeps its width at the left, the strip and the status bar their heights at the
// bottom, the list takes the rest; the strip's controls keep their place from its left edge.
void TFrmMain::alignControls() {
    const int bottoms = scaled(StripHeight) + scaled(StatusBarHeight);
    const int upperHeight = std::max(height() - bottoms, 0);
    StatusBar1->setGeometry(0, height() - scaled(StatusBarHeight), width(),
                            scaled(StatusBarHeight));
    RzPanel1->setGeometry(0, upperHeight, width(), scaled(StripHeight));
    ShellTreeView1->setGeometry(0, 0, scaled(TreeWidth), upperHeight);
    ListView1->setGeometry(scaled(TreeWidth), 0, std::max(width() - scaled(TreeWidth), 0),
                           upperHeight);
}

void TFrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    alignControls();
    keepDesignSize();
}

// The frame is fixed but the window can be maximised: window managers offer no maximise for
// a window whose minimum and maximum sizes are equal, so only the minimum is declared and a
// resize of a normal (not maximised) window is taken back.
void TFrmMain::keepDesignSize() {
    constexpr Qt::WindowStates freeSized =
        Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized;
    if (!isWindow() || (windowState() & freeSized) || size() == m_designSize) return;
    QTimer::singleShot(0, this, [this, freeSized] {
        if (!(windowState() & freeSized) && size() != m_designSize) resize(m_designSize);
    });
}

void TFrmMain::FormCreate() {
    RadioGroup1->setItemIndex(0);
}

void TFrmMain::setFormatSettings(const engine::TFormatSettings& settings) {
    m_formatSettings = settings;
    ShellTreeView1->setFormatSettings(settings);
    m_undo->setFormatSettings(settings);
}

const std::string& TFrmMain::CurrentFolder() const {
    return m_entries->listing().CurrentFolder;
}

void TFrmMain::ShellTreeView1Change(QTreeWidgetItem*) {
    Guarded([this] { listFolder(ShellTreeView1->selectedPath()); });
}

engine::TRenameSettings TFrmMain::renameSettings() const {
    const auto text = [](const QLineEdit* edit) { return edit->text().toStdString(); };
    const auto mode = static_cast<engine::TRenameMode>(std::max(RadioGroup1->itemIndex(), 0));
    return {text(Edit1), text(Edit2), text(Edit3), text(Edit4), text(Edit5), text(Edit6), mode};
}

void TFrmMain::Edit1Change() {
    clearOutcome();
    Guarded([this] {
        Label3->setCaption(QString::fromStdString(engine::PreviewText(renameSettings())));
    });
}

void TFrmMain::RzBitBtn1Click() {
    if (isBusy()) return;
    Guarded([this] {
        const engine::TRenameSettings settings = renameSettings();
        engine::CheckRenameSettings(m_entries->listing(), settings);
        m_batchStatus->start(m_entries->rows().size());
        m_runner->start(m_entries->beginBatch(), settings, TUndoController::BatchControl());
        ShellTreeView1->setHeldFolder(CurrentFolder());
        updateBusy();
    });
}

void TFrmMain::RzBitBtn4Click() {
    close();
}
