#pragma once
// The company profile (program 64): the one REGISTRO row whose name and NIT every report header
// prints, with the company logo. Every navigator button closes the window after its work.

#include <QDialog>

class QLabel;
class QLineEdit;

namespace db {
class Dataset;
}

namespace app {

class TFrmRegistro : public QDialog {
    Q_OBJECT
public:
    explicit TFrmRegistro(QWidget* parent = nullptr);
    ~TFrmRegistro() override;

    // Saves the typed values; false (with the reason shown) keeps the window open.
    bool post();
    void cancel();
    // Stores the picture file's bytes as the logo at once.
    bool loadLogo(const QString& fileName);

private:
    void showRow();
    void showLogo(const QByteArray& bytes);

    db::Dataset* data_;
    QLineEdit* nombre_;
    QLineEdit* nit_;
    QLineEdit* direccion_;
    QLineEdit* telefonos_;
    QLineEdit* email_;
    QLabel* logo_;
};

} // namespace app
