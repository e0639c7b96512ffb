#include <cstring>

#include "netobj.h"

namespace net {
namespace {

void PutInt32(uint8_t* out, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(bits >> (8 * i));
    }
}

int32_t GetInt32(const uint8_t* in) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<uint32_t>(in[i]) << (8 * i);
    }
    return static_cast<int32_t>(bits);
}

void PutDouble(uint8_t* out, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<uint8_t>(bits >> (8 * i));
    }
}

double GetDouble(const uint8_t* in) {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) {
        bits |= static_cast<uint64_t>(in[i]) << (8 * i);
    }
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <size_t N>
void PutBytes(uint8_t* out, const std::array<uint8_t, N>& bytes) {
    std::memcpy(out, bytes.data(), N);
}

template <size_t N>
void GetBytes(const uint8_t* in, std::array<uint8_t, N>& bytes) {
    std::memcpy(bytes.data(), in, N);
}

}  // namespace

void EncodeHostRecord(const HostRecord& record, uint8_t* out) {
    out[0] = record.NameLength;
    PutBytes(out + 1, record.NameChars);
    PutBytes(out + 21, record.Filler);
    PutInt32(out + 24, record.X);
    PutInt32(out + 28, record.Y);
    PutInt32(out + 32, record.TypeNo);
    PutInt32(out + 36, record.Reserved);
}

HostRecord DecodeHostRecord(const uint8_t* in) {
    HostRecord record;
    // A stored length above the 20 characters the record holds is cut to 20.
    record.NameLength = in[0] > MaxNameLength ? MaxNameLength : in[0];
    GetBytes(in + 1, record.NameChars);
    GetBytes(in + 21, record.Filler);
    record.X = GetInt32(in + 24);
    record.Y = GetInt32(in + 28);
    record.TypeNo = GetInt32(in + 32);
    record.Reserved = GetInt32(in + 36);
    return record;
}

void EncodeChannelRecord(const ChannelRecord& record, uint8_t* out) {
    PutInt32(out + 0, record.HostA);
    PutInt32(out + 4, record.HostB);
    PutInt32(out + 8, record.TypeNo);
    PutInt32(out + 12, record.Reserved);
    PutDouble(out + 16, record.Length);
}

ChannelRecord DecodeChannelRecord(const uint8_t* in) {
    ChannelRecord record;
    record.HostA = GetInt32(in + 0);
    record.HostB = GetInt32(in + 4);
    record.TypeNo = GetInt32(in + 8);
    record.Reserved = GetInt32(in + 12);
    record.Length = GetDouble(in + 16);
    return record;
}

void EncodeHostType(const HostType& record, uint8_t* out) {
    PutInt32(out + 0, record.Value1);
    PutBytes(out + 4, record.Spare1);
    PutInt32(out + 8, record.Value2);
    PutBytes(out + 12, record.Spare2);
}

HostType DecodeHostType(const uint8_t* in) {
    HostType record;
    record.Value1 = GetInt32(in + 0);
    GetBytes(in + 4, record.Spare1);
    record.Value2 = GetInt32(in + 8);
    GetBytes(in + 12, record.Spare2);
    return record;
}

void EncodeChannelType(const ChannelType& record, uint8_t* out) {
    PutInt32(out + 0, record.Capacity);
    PutBytes(out + 4, record.Spare);
    PutInt32(out + 8, record.Value2);
}

ChannelType DecodeChannelType(const uint8_t* in) {
    ChannelType record;
    record.Capacity = GetInt32(in + 0);
    GetBytes(in + 4, record.Spare);
    record.Value2 = GetInt32(in + 8);
    return record;
}

}  // namespace net
