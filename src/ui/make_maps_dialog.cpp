#include "ui/make_maps_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "export/user_texts.h"
#include "maps/station_maps.h"
#include "ui/dialog_units.h"

namespace animark::ui {

namespace {

QString Degrees(double value) {
  return QString::number(value, 'g', 10);
}

}  // namespace

MakeMapsDialog::MakeMapsDialog(QWidget* owner, UserMessages& messages, const MapRequest& shown,
                               bool placeKnown)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      messages_(messages),
      request_(shown) {
  setWindowTitle("Make maps");
  setFont(DialogFont());
  const DialogUnits units(font());

  auto* intro = new QLabel(
      "Draws the coasts, lakes, borders and rivers round the detector, one map for each range, "
      "and puts the three maps into the map fields.",
      this);
  intro->setWordWrap(true);

  const auto edit = [&](const char* name, const QString& text, const QString& hint) {
    auto* field = new QLineEdit(text, this);
    field->setObjectName(name);
    field->setPlaceholderText(hint);
    return field;
  };
  latitude_ = edit("latitude", placeKnown ? Degrees(shown.place.latitude) : QString(),
                   "e.g. 52.52 (north positive)");
  longitude_ = edit("longitude", placeKnown ? Degrees(shown.place.longitude) : QString(),
                    "e.g. 13.40 (east positive)");
  folder_ = edit("folder", QString::fromStdString(shown.folder.string()), QString());
  latitude_->setMinimumWidth(units.Size(110, 0).width());

  auto* browse = new QPushButton("&Browse...", this);
  browse->setObjectName("browse");
  browse->setAutoDefault(false);
  connect(browse, &QPushButton::clicked, this, &MakeMapsDialog::ChooseFolder);
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(folder_, 1);
  folderRow->addWidget(browse);

  auto* dark = new QRadioButton("&Dark", this);
  light_ = new QRadioButton("Li&ght", this);
  light_->setObjectName("light");
  (shown.style == MapStyle::Light ? light_ : dark)->setChecked(true);
  auto* styleRow = new QHBoxLayout;
  styleRow->addWidget(dark);
  styleRow->addWidget(light_);
  styleRow->addStretch(1);

  auto* form = new QFormLayout;
  form->addRow("&Latitude:", latitude_);
  form->addRow("L&ongitude:", longitude_);
  auto* folderLabel = new QLabel("&Folder:", this);
  folderLabel->setBuddy(folder_);
  form->addRow(folderLabel, folderRow);
  form->addRow("Colours:", styleRow);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* make = buttons->addButton("&Make maps", QDialogButtonBox::AcceptRole);
  make->setObjectName("make");
  make->setDefault(true);
  buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &MakeMapsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &MakeMapsDialog::reject);

  auto* column = new QVBoxLayout(this);
  column->addWidget(intro);
  column->addLayout(form);
  column->addWidget(buttons);
  setMinimumWidth(units.Size(230, 0).width());
  latitude_->setFocus();
}

void MakeMapsDialog::accept() {
  const std::optional<double> latitude = ParseDegrees(latitude_->text().toStdString(), 90);
  if (!latitude) {
    return Refuse(latitude_, kLatitudeRefusalText);
  }
  const std::optional<double> longitude = ParseDegrees(longitude_->text().toStdString(), 180);
  if (!longitude) {
    return Refuse(longitude_, kLongitudeRefusalText);
  }
  if (folder_->text().trimmed().isEmpty()) {
    return Refuse(folder_, kMapFolderRefusalText);
  }
  request_ = {{*latitude, *longitude},
              std::filesystem::path(folder_->text().toStdString()),
              light_->isChecked() ? MapStyle::Light : MapStyle::Dark};
  QDialog::accept();
}

void MakeMapsDialog::Refuse(QLineEdit* field, const char* message) {
  messages_.Show(message, MessageIcon::Exclamation);
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
}

void MakeMapsDialog::ChooseFolder() {
  const QString chosen =
      QFileDialog::getExistingDirectory(this, "Folder for the maps", folder_->text());
  if (!chosen.isEmpty()) folder_->setText(chosen);
}

}  // namespace animark::ui
