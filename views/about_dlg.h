// The About box: icon, name and version, copyright line, and the home page and mail links.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace morvane {

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    // Texts are looked up now, in the current language.
    explicit CAboutDlg(QWidget* parent = nullptr);

    // Hand the link buttons' texts to the desktop: the address, or "mailto:" and the address.
    void OnHomePage();
    void OnMailTo();

  private:
    QPushButton* m_pHomePage;
    QPushButton* m_pMail;
};

// Runs the About box modally.
void ShowAboutBox(QWidget* parent);

} // namespace morvane
