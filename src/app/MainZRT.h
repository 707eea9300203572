#pragma once
// The main window: the menu (the only way into every function), the status
// bar, the connection lamp, the centred logo and the child windows.

#include <QList>
#include <QMainWindow>
#include <QPixmap>

class TConnection;

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QStatusBar;

namespace Ui {
class TFormMainZRT;
}

class TFormMainZRT : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMainZRT(QWidget* parent = nullptr);
    ~TFormMainZRT() override;

    // ---- the shell -----------------------------------------------------
    /// Opens a working window as a new child window and shows it.
    void openChild(QWidget* form);
    QMdiArea* mdiArea() const;
    QList<QWidget*> childForms() const;

    /// Text of a status bar panel (0 user, 1 hints, 2 empty).
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);

    /// Draws the lamp after every connect and disconnect of the connection,
    /// its tip saying whether the connection is encrypted.
    ///
    ///     main.followConnection(DataZRT->FDConnection1);
    void followConnection(TConnection& connection);
    /// The lamp's tip for a connection state.
    ///
    ///     TFormMainZRT::lampTip(true, u"TLS_AES_256_GCM_SHA384"_s)
    ///     // "Соединение с базой данных установлено и зашифровано (TLS_AES_256_GCM_SHA384)"
    static QString lampTip(bool connected, const QString& cipher);
    /// The connection lamp: -1 empty, 0 red, 1 green.
    int lampImage() const { return lampImage_; }
    /// The tip of the lamp.
    QString lampToolTip() const;
    void setLampImage(int imageIndex);

    /// Centres the logo in the window (outer size, div truncating toward zero).
    void LogoAlign();
    QLabel* logo() const { return Image2; }
    QLabel* noticePanel() const { return Panel1Text; }

    /// Passes a change of the application's current hint to status panel 1.
    void ApplicationEvents1Hint(const QString& hint);

    // ---- menu permissions ----------------------------------------------
    void enableMenu(bool EnableItem);
    void Permission();
    /// The menu item of that component name (case-sensitive), or nullptr.
    QAction* FindMnuItem(const QString& MenuName) const;
    bool isViewAnn();
    /// Every menu item in menu order: top-level menus, entries and separators.
    QList<QAction*> menuItems() const;

    // ---- menu handlers -------------------------------------------------
    void N2Click();   // login
    void N146Click(); // web site
    void N102Click(); // personal data
    void N104Click(); // password change
    void N10Click();  // forgotten password
    void N3Click();   // exit
    void N13Click();  // passing scores
    void N14Click();  // participant assignment
    void N31Click();  // participant list formation
    void N44Click();  // application details
    void N45Click();  // application export
    void N4Click();   // ratings
    void N55Click();  // diplomas
    void N56Click();  // diploma journal
    void N132Click(); // cascade
    void N133Click(); // tile horizontally
    void N134Click(); // tile vertically
    void N135Click(); // minimise all
    void N136Click(); // close all
    void onLine1Click();
    void N137Click(); // instruction
    void N139Click(); // about box
    void N11Click();  // update check

    /// Closes every child window: the session they were opened in has ended
    /// (a failed login, or a login to another account).
    void closeSessionWindows();

    /// Stores the personal data of the dialog that is open (see N102Click).
    void UPDcoord(class TFormRegistrCoordReg& form, int IDarea);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void buildMenu();
    void fillWindowList();
    void tileHorizontally();
    void tileVertically();

    Ui::TFormMainZRT* ui;
    QLabel* Image2;
    QLabel* Panel1Text;
    QList<QLabel*> panels_;
    QList<QPixmap> ImageList1;
    int lampImage_ = -1;
    bool shown_ = false;
    QList<QAction*> menuItems_;
    QList<QAction*> windowListItems_;
};

/// The one main window of the running program.
extern TFormMainZRT* FormMainZRT;
