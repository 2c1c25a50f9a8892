#include "JobList.h"

#include "CommandOptions.h"
#include "JobLine.h"

#include <nlohmann/json.hpp>

#include <set>

namespace TessalineTool {

namespace {
// A line's words after IN and OUT: only the options that shape one job's room, read as the
// command line reads them.
bool takeJobOptions(const std::vector<std::string>& words, RenderOptions& options, std::string& error)
{
    const OptionTaker take = [&options](const Option& option, const std::string& value,
                                        std::string& message) {
        return takeRenderOption(option, value, options, message);
    };
    bool help = false; // a job line has no --help
    std::vector<std::string> files;
    return readCommandOptions(words, 2, kJobScope, &options.room, take, help, files, error);
}

// A line of rooms.jsonl: {"input", "output", "preset", "set": [...], "mix"}, and "seed", the
// note of where a drawn room came from. Any other key, or a key given twice, is a mistake (a
// misspelt "presets" would otherwise render the default room without a word).
bool takeJsonJob(const std::string& text, BatchJob& job, std::string& error)
{
    static const std::set<std::string> kKeys{"input", "output", "preset", "set", "mix", "seed"};
    std::set<std::string> seen;
    std::string problem;
    const nlohmann::json::parser_callback_t checkKeys = [&](int depth, nlohmann::json::parse_event_t event,
                                                            nlohmann::json& parsed) {
        if (depth == 1 && event == nlohmann::json::parse_event_t::key && problem.empty())
        {
            const std::string key = parsed.get<std::string>();
            if (kKeys.count(key) == 0)
                problem = "unknown key \"" + key + "\" (a job takes input, output, preset, set, mix)";
            else if (!seen.insert(key).second)
                problem = "the key \"" + key + "\" is given twice";
        }
        return true;
    };
    const nlohmann::json line = nlohmann::json::parse(text, checkKeys, false);
    if (line.is_discarded() || !line.is_object())
    {
        error = "not a JSON object";
        return false;
    }
    if (!problem.empty())
    {
        error = problem;
        return false;
    }
    const auto stringField = [&](const char* key, std::string& value) {
        const auto found = line.find(key);
        if (found == line.end())
            return true;
        if (!found->is_string())
            return false;
        value = found->get<std::string>();
        return true;
    };
    if (!stringField("input", job.input) || !stringField("output", job.output) || job.input.empty()
        || job.output.empty())
    {
        error = "a job needs \"input\" and \"output\" file names";
        return false;
    }
    if (!stringField("preset", job.options.room.preset))
    {
        error = "\"preset\" wants a name";
        return false;
    }
    if (const auto set = line.find("set"); set != line.end())
    {
        if (!set->is_array())
        {
            error = "\"set\" wants a list of \"PARAM=VALUE\"";
            return false;
        }
        for (const auto& setting : *set)
        {
            if (!setting.is_string())
            {
                error = "\"set\" wants a list of \"PARAM=VALUE\"";
                return false;
            }
            job.options.room.settings.push_back(setting.get<std::string>());
        }
    }
    if (const auto mix = line.find("mix"); mix != line.end())
    {
        if (!mix->is_number() || !mixFromPercent(mix->get<double>(), job.options.mix))
        {
            error = "\"mix\" wants a percentage from 0 to 100";
            return false;
        }
    }
    return true;
}
} // namespace

bool readJobList(std::istream& in, const RenderOptions& base, std::vector<BatchJob>& jobs, std::string& error)
{
    std::vector<BatchJob> read;
    std::string text;
    std::vector<std::string> words;
    for (size_t number = 1; std::getline(in, text); ++number)
    {
        // A byte-order mark that some editors put before the first line is not part of it.
        if (number == 1 && text.rfind("\xEF\xBB\xBF", 0) == 0)
            text.erase(0, 3);
        BatchJob job{"", "", base, number};
        job.options.listFile.clear();
        std::string why;
        const size_t first = text.find_first_not_of(" \t\r");
        if (first != std::string::npos && text[first] == '{')
        {
            if (!takeJsonJob(text, job, why))
            {
                error = "line " + std::to_string(number) + ": " + why;
                return false;
            }
            read.push_back(std::move(job));
            continue;
        }
        if (!splitJobLine(text, words, why))
        {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        if (words.empty())
            continue;
        if (words.size() < 2 || words[1].rfind("--", 0) == 0)
            why = "a job needs IN and OUT";
        else if (words[0].empty() || words[1].empty())
            why = "an empty file name";
        if (!why.empty() || !takeJobOptions(words, job.options, why))
        {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        job.input = words[0];
        job.output = words[1];
        read.push_back(std::move(job));
    }
    if (in.bad())
    {
        error = "reading the list failed";
        return false;
    }
    if (read.empty())
    {
        error = "the list holds no jobs";
        return false;
    }
    jobs = std::move(read);
    return true;
}

} // namespace TessalineTool
