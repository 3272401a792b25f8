// Memory shared among decodes running at once: each takes its share before
// it decodes and gives it back after, waiting while the others hold too much.
#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <mutex>

namespace imagestore {

class DecodeBudget {
public:
    explicit DecodeBudget(qint64 total) : free_(total), total_(total) {}

    // Holds `bytes` of the budget for its lifetime. A share larger than the
    // whole budget waits until no other share is held, then goes ahead:
    // the decode itself refuses what no budget could hold. A null budget
    // holds nothing.
    class Share {
    public:
        Share(DecodeBudget* budget, qint64 bytes);
        ~Share();
        Share(const Share&) = delete;
        Share& operator=(const Share&) = delete;

    private:
        DecodeBudget* budget_;
        qint64 bytes_;
    };

private:
    std::mutex mutex_;
    std::condition_variable released_;
    qint64 free_;
    qint64 total_;
};

}  // namespace imagestore
