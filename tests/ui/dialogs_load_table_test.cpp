// The load table editor: its grid, storing every cell or none, and the text
// kept between showings.
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>
#include <memory>

#include "HNagr.h"
#include "main.h"
#include "test_support.h"

using namespace ui_test;

namespace {

// Types `text` into the data cell (column, row) as a user would: click the
// cell, clear the editor, type, press Enter (or leave the editor open).
void EditCell(TForm7& form, int column, int row, const QString& text, bool enter = true) {
    QTableWidget* grid = form.StringGrid1;
    QTableWidgetItem* item = grid->item(row - 1, column - 1);
    grid->scrollToItem(item);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(item).center());
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>()) {
        if (e->isVisible())
            editor = e;
    }
    QVERIFY(editor != nullptr);
    RetypeText(editor, text);
    if (!enter)
        return;
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor hands its text to the cell once the key has been handled.
    QTRY_COMPARE(form.Cell(column, row), text);
}

}  // namespace

class DialogsLoadTableTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TForm1> main_;
    std::unique_ptr<TForm7> form_;

    net::TNetObj& Net() { return main_->Net(); }

    // Shows the editor modally and runs `steps` inside; `steps` leaves it open
    // or closes it. Returns the texts of the error boxes shown meanwhile.
    template <typename Steps>
    QStringList RunShown(Steps steps) {
        QStringList errors;
        ExecWith(*form_, [steps, &errors](TForm7& form) {
            steps(errors);
            if (form.isVisible())
                form.close();
        });
        return errors;
    }

    // Presses "сохранить изменения" and answers the error box, if one comes.
    void PressStore(QStringList& errors) {
        const auto answer = ErrorBoxInto(errors);
        Press(form_->Button1);
        // An error box is modal: it was answered before the click returned.
        QCOMPARE(answer.Seen(), form_->isVisible());
    }

private slots:
    void initTestCase() {
        main_ = std::make_unique<TForm1>();
        Form1 = main_.get();
        form_ = std::make_unique<TForm7>();
        Form7 = form_.get();
    }

    void cleanupTestCase() {
        form_.reset();
        main_.reset();
        Form1 = nullptr;
        Form7 = nullptr;
    }

    void layoutAndStartingCells() {
        TForm7 fresh;
        QCOMPARE(fresh.windowTitle(), QString("Form7"));
        QCOMPARE(fresh.Button1->text(), QString("сохранить изменения"));
        QCOMPARE(fresh.Button1->geometry(), QRect(8, 496, 129, 25));
        QCOMPARE(fresh.StringGrid1->geometry(), QRect(0, 0, 545, 489));
        QCOMPARE(fresh.StringGrid1->horizontalHeader()->defaultSectionSize(), 48);
        QCOMPARE(fresh.Cell(0, 0), QString());
        int zeros = 0;
        for (int n = 1; n <= 18; ++n) {
            QCOMPARE(fresh.Cell(0, n), QString::number(n));
            QCOMPARE(fresh.Cell(n, 0), QString::number(n));
            for (int j = 1; j <= 18; ++j)
                zeros += fresh.Cell(j, n) == "0";
        }
        QCOMPARE(zeros, 324);
    }

    void storingFreshGridWritesZerosEverywhere() {
        TForm7 fresh;
        for (auto& row : Net().LoadMatrix)
            row.fill(5);
        fresh.StoreGridInto(Net());
        for (int i = 1; i <= 18; ++i) {
            for (int j = 1; j <= 18; ++j)
                QCOMPARE(Net().LoadMatrix[i][j], 0);
        }
    }

    // A bad cell stores nothing: it is reported, becomes the current cell
    // with its editor open, and the window stays for the user to mend it.
    void badCellStoresNothingAndIsOpenedForEditing() {
        form_->FormCreate();
        for (auto& row : Net().LoadMatrix)
            row.fill(-9);
        const QStringList errors = RunShown([this](QStringList& errors) {
            EditCell(*form_, 1, 1, "11");
            EditCell(*form_, 5, 2, "abc");
            EditCell(*form_, 6, 2, "26");
            PressStore(errors);
            QVERIFY(form_->isVisible());
            QCOMPARE(form_->Cell(5, 2), QString("abc"));
            QTableWidget* grid = form_->StringGrid1;
            QCOMPARE(grid->currentRow(), 1);
            QCOMPARE(grid->currentColumn(), 4);
            for (auto& row : Net().LoadMatrix) {
                for (int32_t load : row)
                    QCOMPARE(load, -9);
            }
            // Mended in its open editor, the next store takes every cell.
            QLineEdit* editor = nullptr;
            for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>()) {
                if (e->isVisible())
                    editor = e;
            }
            QVERIFY(editor != nullptr);
            QVERIFY(editor->geometry().contains(grid->visualItemRect(grid->item(1, 4)).center()));
            RetypeText(editor, "25");
            PressStore(errors);
        });
        QCOMPARE(errors, QStringList({"'abc' is not a valid integer value."}));
        QVERIFY(!form_->isVisible());
        QCOMPARE(Net().LoadMatrix[1][1], 11);
        QCOMPARE(Net().LoadMatrix[2][5], 25);
        QCOMPARE(Net().LoadMatrix[2][6], 26);
        QCOMPARE(Net().LoadMatrix[18][18], 0);
        QCOMPARE(Net().LoadMatrix[0][0], -9);  // never touched
    }

    void conversionOfCellTexts() {
        struct Case {
            QString text;
            bool ok;
            int value;
        };
        const Case cases[] = {
            {" 7", true, 7},
            {"$10", true, 16},
            {"-3", true, -3},
            {"+4", true, 4},
            {"0x1f", true, 31},
            {"$FFFFFFFF", true, -1},
            {"2147483647", true, 2147483647},
            {"7 ", false, 0},
            {"", false, 0},
            {"2147483648", false, 0},
            {"1.5", false, 0},
            {"$", false, 0},
            {"-$10", false, 0},
        };
        for (const Case& c : cases) {
            form_->FormCreate();
            Net().LoadMatrix[18][18] = 99;
            form_->SetCell(18, 18, c.text);
            const QStringList errors =
                RunShown([this](QStringList& errors) { PressStore(errors); });
            if (c.ok) {
                QVERIFY2(errors.isEmpty(), qPrintable(c.text));
                QCOMPARE(Net().LoadMatrix[18][18], c.value);
            } else {
                QCOMPARE(errors, QStringList({"'" + c.text + "' is not a valid integer value."}));
                QCOMPARE(Net().LoadMatrix[18][18], 99);
                QCOMPARE(Net().LoadMatrix[18][17], 0);
            }
        }
    }

    void closingWithoutStoringKeepsTheTextForNextTime() {
        form_->FormCreate();
        Net().LoadMatrix = {};
        RunShown([this](QStringList&) {
            EditCell(*form_, 3, 3, "-8");
            EditCell(*form_, 18, 1, "5");
            form_->close();  // through the frame: stores nothing
        });
        QCOMPARE(Net().LoadMatrix[3][3], 0);
        QCOMPARE(Net().LoadMatrix[1][18], 0);
        const QStringList errors = RunShown([this](QStringList& errors) {
            QCOMPARE(form_->Cell(3, 3), QString("-8"));
            // Typed but not yet confirmed with Enter: stored all the same.
            EditCell(*form_, 2, 17, " $1f", false);
            PressStore(errors);
        });
        QVERIFY(errors.isEmpty());
        QVERIFY(!form_->isVisible());
        QCOMPARE(Net().LoadMatrix[3][3], -8);
        QCOMPARE(Net().LoadMatrix[1][18], 5);
        QCOMPARE(Net().LoadMatrix[17][2], 31);
    }

    void reloadShowsTheMatrixInItsOwnOrientation() {
        form_->FormCreate();
        form_->SetCell(2, 1, "unsaved");
        Net().LoadMatrix = {};
        Net().LoadMatrix[1][2] = 12;
        Net().LoadMatrix[2][1] = -21;
        Net().LoadMatrix[18][18] = 1818;
        form_->ReloadStringGrid();
        QCOMPARE(form_->Cell(2, 1), QString("12"));
        QCOMPARE(form_->Cell(1, 2), QString("-21"));
        QCOMPARE(form_->Cell(18, 18), QString("1818"));
        QCOMPARE(form_->Cell(3, 1), QString("0"));
        QCOMPARE(form_->Cell(0, 18), QString("18"));
    }
};

QTEST_MAIN(DialogsLoadTableTest)
#include "dialogs_load_table_test.moc"
