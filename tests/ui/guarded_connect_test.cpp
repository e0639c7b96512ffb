// The one connect helper: a handler it wires runs under the general error
// handler, receives the signal's arguments, and an error in it neither
// escapes the emission nor keeps the next one from running.
#include "guarded_connect.h"

#include <QtTest>

#include "errors.h"
#include "test_support.h"

using namespace ui_test;

class Emitter : public QObject {
    Q_OBJECT
signals:
    void Happened(const QPoint& where, int count);
};

class Receiver : public QObject {
public:
    void Fail() { throw net::ConvertError("'x' is not a valid integer value"); }
    void Record(const QPoint& where) { points << where; }
    void Count() { ++runs; }

    QList<QPoint> points;
    int runs = 0;
};

class GuardedConnectTest : public QObject {
    Q_OBJECT
private slots:
    void handlerGetsTheLeadingArgumentsOfTheSignal() {
        Emitter emitter;
        Receiver receiver;
        ui::ConnectHandler(&emitter, &Emitter::Happened, &receiver, &Receiver::Record);
        ui::ConnectHandler(&emitter, &Emitter::Happened, &receiver, &Receiver::Count);
        emit emitter.Happened(QPoint(3, 4), 7);
        QCOMPARE(receiver.points, QList<QPoint>{QPoint(3, 4)});
        QCOMPARE(receiver.runs, 1);
    }

    void errorIsShownAndTheNextHandlerAndEmissionRun() {
        Emitter emitter;
        Receiver receiver;
        ui::ConnectHandler(&emitter, &Emitter::Happened, &receiver, &Receiver::Fail);
        ui::ConnectHandler(&emitter, &Emitter::Happened, &receiver, &Receiver::Count);
        for (int emission = 1; emission <= 2; ++emission) {
            QStringList errors;
            const auto box = ErrorBoxInto(errors);
            emit emitter.Happened(QPoint(), 0);
            QCOMPARE(errors, QStringList{"'x' is not a valid integer value."});
            QCOMPARE(receiver.runs, emission);
        }
    }

    void connectionEndsWithTheReceiver() {
        Emitter emitter;
        auto receiver = std::make_unique<Receiver>();
        ui::ConnectHandler(&emitter, &Emitter::Happened, receiver.get(), &Receiver::Fail);
        receiver.reset();
        emit emitter.Happened(QPoint(), 0);  // no handler left to run, no error box
    }
};

QTEST_MAIN(GuardedConnectTest)
#include "guarded_connect_test.moc"
