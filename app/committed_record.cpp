// The calibration record last sent to the driver, shared by the worker that commits and the
// window thread that keeps it.
#include "app/committed_record.h"

#include <mutex>

namespace {

struct CommittedRecord {
    std::mutex Lock;
    CalibrationDataRecord Record{};
    uint64_t Serial = 0;
};

CommittedRecord& Committed() {
    static CommittedRecord committed;
    return committed;
}

}  // namespace

void NoteCommittedRecord(const CalibrationDataRecord& record) {
    CommittedRecord& c = Committed();
    std::lock_guard<std::mutex> guard(c.Lock);
    c.Record = record;
    c.Serial += 1;
}

bool LastCommittedRecord(CalibrationDataRecord& record, uint64_t& serial) {
    CommittedRecord& c = Committed();
    std::lock_guard<std::mutex> guard(c.Lock);
    record = c.Record;
    serial = c.Serial;
    return serial != 0;
}
