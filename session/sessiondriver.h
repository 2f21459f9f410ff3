#ifndef SESSIONDRIVER_H
#define SESSIONDRIVER_H

#include "boardtype.h"
#include "motionplan.h"
#include "sessionrequest.h"
#include "sessionresult.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

class Controller;

// The driver as the lens session works it: one request at a time, carried
// out in full with the reads that follow it, on whichever thread calls. It
// blocks for as long as the board takes, and holds no state of the
// session's; what it needs to know (a range, where a motor was) comes with
// the job, and what it read goes back with the result.
class SessionDriver
{
public:
    struct Done;
    // Work of a front end's own on the driver, such as putting the board into
    // service: it tells what it read and how it went through done.
    using Work = std::function<void(Controller &driver, Done &done)>;

    struct Job
    {
        SessionRequest request;
        // Instead of the request, when set.
        Work work;
        // A read of request.motor's position the operator did not ask for:
        // its failure is nobody's concern.
        bool quiet = false;
        // What the session knew of each motor when the job left.
        std::array<std::optional<int>, 3> positions;
        std::array<std::optional<int>, 3> maxima;
        // The lens's soft limits and backlash for request.motor, from its
        // profile.
        std::optional<MotionPlan::Limits> limits;
        int backlash = 0;
        // The goto is the last leg of one that took up the backlash.
        bool approachEnd = false;
    };

    struct Done
    {
        SessionResult result;
        // The board took the request's command (a run, a stop, a move), even
        // if a read after it failed.
        bool taken = false;
        // What was read meanwhile, motor by motor.
        std::array<std::optional<int>, 3> positions;
        std::array<std::optional<int>, 3> maxima;
        // A goto that takes up backlash: the motor was sent beneath its
        // target, to approachVia, and goes on to approachTo once there.
        std::optional<int> approachTo;
        int approachVia = 0;
    };

    SessionDriver(BoardType board, std::unique_ptr<Controller> driver);
    ~SessionDriver();
    SessionDriver(const SessionDriver &) = delete;
    SessionDriver &operator=(const SessionDriver &) = delete;

    Done execute(const Job &job);
    // Takes the driver's outcome since the last look into done; false, with
    // the result failed, when an exchange failed.
    bool check(Done &done, bool query);

    Controller &controller() const { return *m_driver; }

private:
    bool goTo(const Job &job, Done &done);
    bool run(const Job &job, Done &done);
    bool stop(const SessionRequest &request, Done &done);
    // Every position and maximum of the board's motors; the first read
    // without an answer ends it.
    bool readAll(Done &done);
    bool readPosition(int motor, Done &done);
    bool readMaximum(int motor, Done &done);

    BoardType m_board;
    std::unique_ptr<Controller> m_driver;
};

#endif // SESSIONDRIVER_H
