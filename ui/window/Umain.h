#pragma once
// The main window: the folder tree at the left, the file list beside it, the strip with the
// rename settings and the two buttons at the bottom, the status bar below. Positions are laid
// out by hand at 96 dpi and scaled for other resolutions.

#include <array>
#include <functional>
#include <tuple>

#include <QWidget>

#include "engine/engine.h"
#include "ui/widgets/image_list.h"
#include "ui/window/regional_settings.h"

class QGroupBox;
class QLineEdit;
class QShortcut;
class QStatusBar;
class QTreeView;
class QTreeWidgetItem;
class TShellTreeView;
class TBatchRunner;
class TBatchStatus;
class TEntryModel;
class TFolderLister;
class TUndoController;
class TLabel;
class TRadioGroup;
class TRzBitBtn;
class TRzPanel;
class TUpDown;

class TFrmMain : public QWidget {
    Q_OBJECT
public:
    // `formatSettings`: the regional date and time settings the list's times are shown in.
    explicit TFrmMain(engine::TFormatSettings formatSettings = ReadRegionalSettings(),
                      QWidget* parent = nullptr);
    ~TFrmMain() override;

    // A length at 96 dpi, scaled by the window's text height over 12.
    int scaled(int designPixels) const;
    TEntryModel* entries() const { return m_entries; }
    // The listed folder with its trailing separator; empty before the first listing.
    const std::string& CurrentFolder() const;
    // A folder is being listed or shown, or a batch or an undo runs: "应用改名" waits until it
    // ends.
    bool isBusy() const;
    // A batch or an undo runs.
    bool isRenaming() const;
    // Selects the folder at the absolute `path` (raw bytes) in the tree, which lists it; false
    // when the tree has no node for it (the selection and the list stay as they were).
    bool showFolder(const std::string& path);
    // The regional settings for listings from now on; rows already listed keep their texts.
    void setFormatSettings(const engine::TFormatSettings& settings);

public slots:
    void FormCreate();
    void ShellTreeView1Change(QTreeWidgetItem* node);
    void Edit1Change();
    void RzBitBtn1Click();
    void RzBitBtn4Click();

signals:
    // The window went idle: a listing has been shown whole, or a batch or an undo has ended.
    void workDone();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Closing stops a running batch or undo between two rows.
    void closeEvent(QCloseEvent* event) override;
    // A folder dropped from a file manager is shown; a dropped file shows its folder.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createWindowFrame();
    void createFolderTree();
    void createStrip();
    TRzBitBtn* makeButton(const char* name, const QString& caption, int left);
    void createRadioGroup();
    void createNumberingBox();
    void createDeleteBox();
    using TCountBox =
        std::tuple<QGroupBox*, TLabel*, TLabel*, QLineEdit*, TUpDown*, TUpDown*, QLineEdit*>;
    TCountBox makeCountBox(const QString& caption, QRect at,
                           const std::array<const char*, 7>& names,
                           const std::function<void(QGroupBox*)>& ownLabels);
    void createFileList();
    void createStatusBar();
    void linkControls();
    void setTabOrders();
    void startFolderTree();
    void connectHandlers();
    void createWorkers();
    void createUndo();
    void listFolder(const std::string& path);
    void batchFinished(const QString& error);
    // After a batch or an undo: the window works again. True when a folder selected meanwhile
    // is now being listed.
    bool endWork();
    // The end of a batch or an undo, told in the status bar; the list shows its first failure.
    void showOutcome(const QString& text);
    void clearOutcome();
    void scrollToFirstFailure();
    void updateBusy();
    engine::TRenameSettings renameSettings() const;
    void centreOnPrimaryScreen();
    void alignControls();
    void keepDesignSize();

    template <typename TWidget>
    TWidget* place(TWidget* widget, const char* name, int left, int top, int width, int height);
    TLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QPoint at);
    QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, QRect at);

    engine::TFormatSettings m_formatSettings;
    int m_textHeight = 12;
    QSize m_designSize;
    TEntryModel* m_entries = nullptr;
    TFolderLister* m_lister = nullptr;
    TBatchRunner* m_runner = nullptr;
    TBatchStatus* m_batchStatus = nullptr;
    QShortcut* m_cancelShortcut = nullptr;
    TUndoController* m_undo = nullptr;
    std::string m_selectedPath; // selected while a batch or an undo ran: listed when it ends
    bool m_selectedDuringBatch = false;

    TShellTreeView* ShellTreeView1 = nullptr;
    TRzPanel* RzPanel1 = nullptr;
    TRzBitBtn* RzBitBtn4 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    QLineEdit* Edit1 = nullptr;
    TUpDown* UpDown1 = nullptr;
    TUpDown* UpDown2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    TRzBitBtn* RzBitBtn1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    QLineEdit* Edit5 = nullptr;
    TUpDown* UpDown3 = nullptr;
    TUpDown* UpDown4 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QTreeView* ListView1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    TImageList il;
};
