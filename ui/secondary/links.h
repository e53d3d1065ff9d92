#pragma once
// The links window "Шахматные ссылки": two chess web sites, each a row of a
// bold host name and a caption. Clicking either label of a row hands
// "https://" + that row's host name to the desktop.
//
// Created once at start-up and shown modally with exec().
#include <QDialog>

class ClickableLabel;
class UrlOpener;

class TForm7 : public QDialog {
    Q_OBJECT

public:
    // `opener` must outlive the window.
    explicit TForm7(UrlOpener& opener, QWidget* parent = nullptr);

    // Components, owned by the window; also reachable by their objectName.
    ClickableLabel* Label1 = nullptr; // first site's host name, bold
    ClickableLabel* Label2 = nullptr; // "Шахматный проект " + the site owner
    ClickableLabel* Label3 = nullptr; // second site's host name, bold
    ClickableLabel* Label4 = nullptr; // "Школа шахмат " + the school

    // Open the first site (Label1, Label2) or the second (Label3, Label4).
    void Label1Click();
    void Label3Click();

private:
    UrlOpener& m_opener;
};
