// A spooler for the tests: printers described in a few fields, every call
// counted, and jobs recorded instead of printed.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/Spooler.h"

class FakeSpooler : public qv::Spooler {
public:
    struct Printer {
        std::wstring name;
        std::wstring port;
        std::wstring driver = qv::kPrinterDriver;
        std::optional<std::wstring> server;  // a printer of this server
        bool connected = true;               // in the local list (level 4): a connection to the server
        std::uint32_t attributes = 0x40;     // local
        std::uint32_t status = 0;
        bool opens = true;
        std::optional<qv::SendOutcome> result;  // this printer's send outcome; none: sendResult
    };
    struct Job {
        std::wstring printer;
        std::wstring docName;
        std::vector<std::uint8_t> data;
        bool ntFamily;
        std::chrono::milliseconds wait;
    };

    std::vector<Printer> printers;
    qv::SendOutcome sendResult{qv::Delivery::Delivered, "", 1, false};
    std::vector<Job> jobs;
    std::function<void()> onSend;  // runs while a job is being sent
    int enum4Calls = 0;
    int enum2Calls = 0;
    int localEnumCalls = 0;
    std::vector<std::wstring> testOpens;

    FakeSpooler& Add(std::wstring name, std::wstring port)
    {
        Printer printer;
        printer.name = std::move(name);
        printer.port = std::move(port);
        printers.push_back(std::move(printer));
        return *this;
    }

    std::vector<qv::PrinterInfo4> EnumPrinters4() override
    {
        ++enum4Calls;
        std::vector<qv::PrinterInfo4> list;
        for (const Printer& p : printers)
            if (p.connected)
                list.push_back({p.name, p.server, p.attributes});
        return list;
    }
    std::vector<qv::PrinterInfo2> EnumPrinters2(const std::optional<std::wstring>& server) override
    {
        ++enum2Calls;
        std::vector<qv::PrinterInfo2> list;
        for (const Printer& p : printers)
            if (p.server == server)
                list.push_back(Info2(p));
        return list;
    }
    std::vector<qv::PrinterInfo2> EnumLocalPrinters2() override
    {
        ++localEnumCalls;
        std::vector<qv::PrinterInfo2> list;
        for (const Printer& p : printers)
            if (!p.server)
                list.push_back(Info2(p));
        return list;
    }
    bool TestOpen(const std::wstring& printerName) override
    {
        testOpens.push_back(printerName);
        for (const Printer& p : printers)
            if (p.name == printerName)
                return p.opens;
        return false;
    }
    qv::SendOutcome SendRawJob(const std::wstring& printerName, const std::wstring& docName,
                               std::span<const std::uint8_t> data, bool ntFamily,
                               std::chrono::milliseconds wait) override
    {
        static std::mutex sends;  // the tool sends from several threads
        const std::lock_guard lock(sends);
        jobs.push_back({printerName, docName, {data.begin(), data.end()}, ntFamily, wait});
        if (onSend)
            onSend();
        for (const Printer& p : printers)
            if (p.name == printerName && p.result)
                return *p.result;
        return sendResult;
    }

private:
    static qv::PrinterInfo2 Info2(const Printer& p)
    {
        return {p.server, p.name, p.port, p.driver, p.attributes, p.status};
    }
};
