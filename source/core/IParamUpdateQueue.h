// What the core class asks of one parameter's sample-accurate changes within a block.
#pragma once
#include <cstdint>

// Sample-accurate values of one parameter within the current block.
// [audio thread] all operations.
class IParamUpdateQueue
{
public:
    virtual ~IParamUpdateQueue() = default;
    virtual int32_t getParameterIndex() = 0;
    virtual bool getValueAtOffset(int32_t sampleOffset, double unused, double* value) = 0;
    virtual bool getNextValue(double* value) = 0;
};
