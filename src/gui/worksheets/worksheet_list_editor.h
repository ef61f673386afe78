// The editor of a list input (orifices on a riser, the pipes of a network): a table with
// a column per member, a unit list per quantity column, and Add Row / Remove Row. It edits
// the rows as the file holds them, so members it does not show are kept.
#pragma once

#include <QGroupBox>
#include <functional>
#include <nlohmann/json.hpp>
#include <vector>

#include "core/worksheets/kinds.h"

class QComboBox;
class QPushButton;
class QTableWidget;

namespace rivulet {

class WorksheetListEditor : public QGroupBox {
  Q_OBJECT

 public:
  /// Edits list input `field`; `changed` receives the whole list after each edit.
  WorksheetListEditor(const InputField& field, std::function<void(nlohmann::json)> changed,
                      QWidget* parent = nullptr);

  /// Shows rows (a JSON array, or null for none) unless they are what it shows already.
  void ShowRows(const nlohmann::json* rows);
  /// The rows as edited.
  const nlohmann::json& Rows() const { return rows_; }
  QTableWidget* Table() const { return table_; }

 private:
  void Rebuild();
  void CellEdited(int row, int column);
  void UnitChosen(const ListColumn& column, const std::string& unitName);
  void AddRow();
  void RemoveRows();
  void Publish();
  std::string ColumnUnit(const ListColumn& column) const;

  InputField field_;
  std::function<void(nlohmann::json)> changed_;
  nlohmann::json rows_ = nlohmann::json::array();
  QTableWidget* table_ = nullptr;
  std::vector<std::pair<const ListColumn*, QComboBox*>> units_;
  bool building_ = false;
};

}  // namespace rivulet
