// LSP Impulse Reverb (Debian's lsp-plugins-lv2) hosted through lilv: both room responses as
// one stereo file, convolver 1 taking the left input through the file's first track to the
// left output, convolver 2 the right input through the second track to the right output, the
// other two convolvers without a file, dry signal off. Its file loading runs through the
// worker interface, done here right after the cycle that asks for it.
#pragma once

#include "Convolver.h"

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <memory>
#include <string>
#include <vector>

namespace peerbench {

class LspRunner final : public Convolver
{
public:
    // Throws std::runtime_error when the plug-in is missing or never takes the file.
    LspRunner(const std::string& stereoWavPath, double sampleRate, int maxBlock);
    ~LspRunner() override;
    LspRunner(const LspRunner&) = delete;
    LspRunner& operator=(const LspRunner&) = delete;

    std::string name() const override { return "LSP Impulse Reverb"; }
    void process(const float* const* in, float* const* out, int frames) override;

private:
    struct Job
    {
        std::vector<char> data;
    };

    LV2_URID map(const char* uri);
    static LV2_URID mapUri(LV2_URID_Map_Handle handle, const char* uri);
    static const char* unmapUri(LV2_URID_Unmap_Handle handle, LV2_URID urid);
    static LV2_Worker_Status scheduleWork(LV2_Worker_Schedule_Handle handle, uint32_t size, const void* data);
    static LV2_Worker_Status respond(LV2_Worker_Respond_Handle handle, uint32_t size, const void* data);

    void connectPorts(int maxBlock);
    void setControl(const char* symbol, float value);
    void sendFile(const std::string& path);
    void clearSequences(bool withMessage);
    void run(int frames);
    void runWorker();

    std::vector<std::string> m_Uris; // URID n is m_Uris[n − 1]
    LV2_URID_Map m_Map{};
    LV2_URID_Unmap m_Unmap{};
    LV2_Worker_Schedule m_Schedule{};
    LV2_Feature m_MapFeature{}, m_UnmapFeature{}, m_ScheduleFeature{}, m_OptionsFeature{};
    std::vector<LV2_Options_Option> m_Options;
    int32_t m_nMaxBlock = 0;
    float m_fSampleRate = 0.0f;

    LilvWorld* m_pWorld = nullptr;
    const LilvPlugin* m_pPlugin = nullptr;
    LilvInstance* m_pInstance = nullptr;
    const LV2_Worker_Interface* m_pWorker = nullptr;
    std::vector<Job> m_Jobs, m_Responses;

    std::vector<float> m_Controls;      // one per port (unused for other ports)
    std::vector<std::string> m_Symbols; // port symbols
    std::vector<std::vector<float>> m_AudioIn, m_AudioOut;
    std::vector<uint64_t> m_AtomIn, m_AtomOut; // 8-byte aligned atom buffers
    bool m_bMessagePending = false;
};

} // namespace peerbench
