#include "RoomsLog.h"

#include "FolderOf.h"
#include "PendingOutput.h"
#include "SameFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
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

std::string roomsLogOf(const BatchJob& job, const std::string& named)
{
    return named.empty() ? folderOf(job.output) + "/rooms.jsonl" : named;
}

bool checkRoomsLogs(const std::vector<BatchJob>& jobs, const std::string& named, const std::string& listFile,
                    std::string& error)
{
    std::set<std::string> logs;
    for (const BatchJob& job : jobs)
        logs.insert(roomsLogOf(job, named));
    for (const std::string& log : logs)
    {
        const std::string option = named.empty() ? "the record '" + log + "'" : "--rooms '" + log + "'";
        if (!listFile.empty() && listFile != "-" && sameFile(log, listFile))
            error = option + " would replace the job list; name another file";
        for (const BatchJob& job : jobs)
        {
            if (!error.empty())
                break;
            if (job.input != "-" && sameFile(log, job.input))
                error = option + " would replace the input '" + job.input + "'; name another file";
            else if (sameFile(log, job.output))
                error = option + " is also the output '" + job.output + "'; name another file";
        }
        if (!error.empty())
            return false;
    }
    return true;
}

namespace {
// Whether a record line holds the room and mix a job was rendered with.
bool describes(const nlohmann::json& room, const BatchJob& job)
{
    const auto preset = room.find("preset");
    const auto set = room.find("set");
    const auto mix = room.find("mix");
    const std::string presetName =
        preset != room.end() && preset->is_string() ? preset->get<std::string>() : "";
    std::vector<std::string> settings;
    if (set != room.end() && set->is_array())
        for (const auto& setting : *set)
            settings.push_back(setting.is_string() ? setting.get<std::string>() : std::string());
    const double percent = mix != room.end() && mix->is_number() ? mix->get<double>() : 100.0;
    return presetName == job.options.room.preset && settings == job.options.room.settings
           && percent == job.options.mix * 100.0;
}

// Writes text into path through a temporary file beside it, renamed over path at the end.
bool replaceWhole(const std::string& path, const std::string& text, std::string& error)
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
    return pending.commit(error);
}
} // namespace

void forgetReplacedOutputs(const std::vector<const BatchJob*>& written, const std::set<std::string>& skip)
{
    std::map<std::string, std::vector<const BatchJob*>> byFolder;
    for (const BatchJob* job : written)
        byFolder[folderOf(job->output) + "/rooms.jsonl"].push_back(job);
    for (const auto& [path, jobs] : byFolder)
    {
        if (skip.count(path) != 0)
            continue;
        std::ifstream in(path, std::ios::binary);
        if (!in)
            continue;
        std::string kept;
        size_t dropped = 0;
        for (std::string line; std::getline(in, line);)
        {
            const nlohmann::json room = nlohmann::json::parse(line, nullptr, false);
            const auto output = room.is_object() ? room.find("output") : room.end();
            // A line stays true when its output was rendered again with the room it describes
            // (--list rooms.jsonl into the same place).
            const bool replaced =
                room.is_object() && output != room.end() && output->is_string()
                && std::any_of(jobs.begin(), jobs.end(), [&](const BatchJob* job) {
                       return sameFile(output->get<std::string>(), job->output) && !describes(room, *job);
                   });
            if (replaced)
                ++dropped;
            else
                kept += line + "\n";
        }
        if (dropped == 0)
            continue;
        in.close();
        std::string error;
        const bool done = kept.empty() ? std::remove(path.c_str()) == 0 : replaceWhole(path, kept, error);
        if (done)
            std::fprintf(stderr, "tessaline: note: %s: %s the %zu output(s) this run replaced\n",
                         path.c_str(), kept.empty() ? "removed; it described only" : "no longer lists",
                         dropped);
        else
            std::fprintf(stderr, "tessaline: warning: %s describes %zu output(s) this run replaced%s%s\n",
                         path.c_str(), dropped, error.empty() ? "" : ": ", error.c_str());
    }
}

bool writeRoomsLogs(const std::vector<const BatchJob*>& jobs, uint64_t seed, const std::string& named,
                    std::string& error)
{
    std::map<std::string, std::string> logs; // file -> its lines
    for (const BatchJob* job : jobs)
        logs[roomsLogOf(*job, named)] += lineFor(*job, seed);
    for (const auto& [path, text] : logs)
    {
        if (!replaceWhole(path, text, error))
            return false;
    }
    return true;
}

} // namespace TessalineTool
