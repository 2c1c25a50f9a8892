#include "RoomsLog.h"

#include "FolderOf.h"
#include "PendingOutput.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <map>
#include <unistd.h>

namespace TessalineTool {

namespace {
std::string lineFor(const BatchJob& job, uint64_t seed)
{
    nlohmann::ordered_json line;
    line["input"] = job.input;
    line["output"] = job.output;
    if (!job.options.room.preset.empty())
        line["preset"] = job.options.room.preset;
    line["set"] = job.options.room.settings;
    line["mix"] = job.options.mix * 100.0;
    line["seed"] = seed;
    return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

bool writeAll(int descriptor, const std::string& text)
{
    for (size_t done = 0; done < text.size();)
    {
        const ssize_t wrote = write(descriptor, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}
} // namespace

bool writeRoomsLogs(const std::vector<BatchJob>& jobs, uint64_t seed, const std::string& named,
                    std::string& error)
{
    std::map<std::string, std::string> logs; // file -> its lines
    for (const BatchJob& job : jobs)
        logs[named.empty() ? folderOf(job.output) + "/rooms.jsonl" : named] += lineFor(job, seed);
    for (const auto& [path, text] : logs)
    {
        OutputTarget target;
        if (!resolveOutputTarget(path, target, error))
            return false;
        PendingOutput pending; // owns the descriptor it hands out
        const int descriptor = pending.create(target, error);
        if (descriptor < 0)
            return false;
        if (!writeAll(descriptor, text))
        {
            error = "cannot write '" + path + "': " + std::strerror(errno);
            return false;
        }
        if (!pending.commit(error))
            return false;
    }
    return true;
}

} // namespace TessalineTool
