// Turtle of the bundle: manifest, plug-in description, presets.
#include "bundle_text.h"

#include <cstdio>
#include <cstring>
#include <set>

#include "common/byte_stream.h"
#include "lv2/lv2_ports.h"
#include "lv2/lv2_uris.h"
#include "lv2/port_value.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_conversion.h"
#include "persist/program_record.h"
#include "ttl_text.h"

namespace quenvale::lv2bundle {

namespace {

constexpr const char* kPrefixes =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n\n";

std::string iri(const std::string& uri) {
    return "<" + uri + ">";
}

std::string presetUri(int program) {
    return iri(lv2::presetUri(program));
}

bool endsWith(const char* text, const char* tail) {
    const size_t n = std::strlen(text), m = std::strlen(tail);
    return n >= m && std::strcmp(text + n - m, tail) == 0;
}

// The unit a member is measured in, or null for plain levels, amounts and enumerated values.
std::string unitOf(const char* name) {
    if (std::strcmp(name, "Glide") == 0) return "units:s";
    if (std::strcmp(name, "Compressor Attack") == 0 || std::strcmp(name, "Compressor Release") == 0)
        return "units:ms";
    if (endsWith(name, " Offset")) return "units:hz";
    if (endsWith(name, " Ratio")) return "units:coef";
    if (endsWith(name, " Phase")) return iri(std::string(lv2::kPluginUri) + "#cycles");
    return "";
}

void appendParameterPort(std::string& out, int index, const std::string& symbol) {
    const ParameterDescriptor& d = descriptor(index);
    out += "[\n\t\ta lv2:InputPort , lv2:ControlPort ;\n";
    out += "\t\tlv2:index " + std::to_string(index) + " ;\n";
    out += "\t\tlv2:symbol " + quoted(symbol.c_str()) + " ;\n";
    out += "\t\tlv2:name " + quoted(d.name) + " ;\n";
    out += "\t\tlv2:default " + number(lv2::portFromParameter(index, d.defaultValue)) + " ;\n";
    out += "\t\tlv2:minimum " + number(lv2::portFromParameter(index, d.minValue)) + " ;\n";
    out += "\t\tlv2:maximum " + number(lv2::portFromParameter(index, d.maxValue)) + " ";
    if (d.isEnumerated()) {
        // Every value named: a menu. Source slots name only their first few values: an integer
        // control with those values labelled.
        const int32_t last = valueAsInt(d.maxValue);
        int32_t named = 0;
        while (named <= last && valueName(d, named) != nullptr) ++named;
        out += named > last ? ";\n\t\tlv2:portProperty lv2:integer , lv2:enumeration "
                            : ";\n\t\tlv2:portProperty lv2:integer ";
        for (int32_t v = 0; v < named; ++v) {
            out += v == 0 ? ";\n\t\tlv2:scalePoint " : " , ";
            out += "[\n\t\t\trdfs:label " + quoted(valueName(d, v)) + " ;\n\t\t\trdf:value " +
                   number(static_cast<float>(v)) + "\n\t\t]";
        }
    } else if (const std::string unit = unitOf(d.name); !unit.empty()) {
        out += ";\n\t\tunits:unit " + unit + " ";
    }
    out += "\n\t]";
}

}  // namespace

bool isPreset(const Program& program, int index) {
    Program init;
    initSlotProgram(init, index);
    ByteStream record, initRecord;
    writeProgram(program, record);
    writeProgram(init, initRecord);
    return record.bytes != initRecord.bytes;
}

std::string manifestText(const std::string& binaryName, const Program* programs) {
    std::string out = kPrefixes;
    const std::string plugin = iri(lv2::kPluginUri);
    out += plugin + "\n\ta lv2:Plugin , lv2:InstrumentPlugin ;\n\tlv2:binary " + iri(binaryName) +
           " ;\n\trdfs:seeAlso " + iri(kPluginFile) + " .\n";
    for (int p = 0; p < kProgramCount; ++p) {
        if (!isPreset(programs[p], p)) continue;
        out += "\n" + presetUri(p) + "\n\ta pset:Preset ;\n\tlv2:appliesTo " + plugin + " ;\n\trdfs:label " +
               quoted(programs[p].name) + " ;\n\trdfs:seeAlso " + iri(kPresetFile) + " .\n";
    }
    return out;
}

std::string pluginText(std::string& error) {
    std::string out = kPrefixes;
    out += iri(std::string(lv2::kPluginUri) + "#cycles") +
           "\n\ta units:Unit ;\n\trdfs:label \"cycles\" ;\n\tunits:symbol \"cyc\" ;\n"
           "\tunits:render \"%f cyc\" .\n\n";
    // The state's keys, so that sessions and presets that use them can be checked.
    const auto property = [&out](const char* uri, const char* label, const char* range, const char* comment) {
        out += iri(uri) + "\n\ta rdf:Property ;\n\trdfs:label " + quoted(label) + " ;\n\trdfs:range " +
               range + " ;\n\trdfs:comment " + quoted(comment) + " .\n\n";
    };
    property(lv2::kStateChunkUri, "bank chunk", "atom:Chunk",
             "The whole bank and the live channel state, as in the VST 2 plug-in's chunk.");
    property(lv2::kStateProgramUri, "program", "xsd:integer", "The current program number, 0 to 127.");
    property(lv2::kStateProgramRecordUri, "program record", "xsd:base64Binary",
             "One program of the bank: a preset puts it in its place and selects it.");
    out += iri(lv2::kPluginUri) +
           "\n\ta lv2:Plugin , lv2:InstrumentPlugin ;\n"
           "\tdoap:name \"Quenvale\" ;\n"
           "\trdfs:comment \"Polyphonic additive synthesizer: up to 32 voices of up to 512 partials.\" ;\n"
           "\tlv2:minorVersion 0 ;\n\tlv2:microVersion 1 ;\n"
           "\tlv2:requiredFeature urid:map ;\n"
           "\tlv2:optionalFeature lv2:hardRTCapable ;\n"
           "\tlv2:extensionData state:interface ;\n"
           "\tlv2:port ";
    std::set<std::string> symbols;
    for (int i = 0; i < parameterCount(); ++i) {
        const std::string symbol = portSymbol(descriptor(i).name);
        if (!symbols.insert(symbol).second) {
            error = "two parameters give the port symbol '" + symbol + "'";
            return "";
        }
        appendParameterPort(out, i, symbol);
        out += " , ";
    }
    out +=
        "[\n\t\ta lv2:InputPort , atom:AtomPort ;\n\t\tatom:bufferType atom:Sequence ;\n"
        "\t\tatom:supports midi:MidiEvent , time:Position ;\n\t\tlv2:designation lv2:control ;\n"
        "\t\tlv2:index " +
        std::to_string(lv2::kEventsPort) +
        " ;\n\t\tlv2:symbol \"events\" ;\n\t\tlv2:name \"Events\"\n\t] , [\n"
        "\t\ta lv2:OutputPort , lv2:AudioPort ;\n\t\tlv2:index " +
        std::to_string(lv2::kLeftOutPort) +
        " ;\n\t\tlv2:symbol \"out_left\" ;\n\t\tlv2:name \"Left\"\n\t] , [\n"
        "\t\ta lv2:OutputPort , lv2:AudioPort ;\n\t\tlv2:index " +
        std::to_string(lv2::kRightOutPort) +
        " ;\n\t\tlv2:symbol \"out_right\" ;\n\t\tlv2:name \"Right\"\n\t] , [\n"
        "\t\ta lv2:OutputPort , lv2:ControlPort ;\n\t\tlv2:index " +
        std::to_string(lv2::kProgramOutPort) +
        " ;\n\t\tlv2:symbol \"program\" ;\n\t\tlv2:name \"Program\" ;\n"
        "\t\tlv2:portProperty lv2:integer ;\n\t\tlv2:default 0.0 ;\n\t\tlv2:minimum 0.0 ;\n"
        "\t\tlv2:maximum " +
        number(static_cast<float>(kProgramCount - 1)) + "\n\t] .\n";
    return out;
}

std::string presetText(const Program* programs) {
    std::string out = kPrefixes;
    for (int p = 0; p < kProgramCount; ++p) {
        const Program& program = programs[p];
        if (!isPreset(program, p)) continue;
        out += presetUri(p) + "\n\ta pset:Preset ;\n\tlv2:appliesTo " + iri(lv2::kPluginUri) +
               " ;\n\trdfs:label " + quoted(program.name) + " ;\n\tlv2:port ";
        for (int i = 0; i < parameterCount(); ++i) {
            if (i > 0) out += " , ";
            out += "[ lv2:symbol " + quoted(portSymbol(descriptor(i).name).c_str()) + " ; pset:value " +
                   number(lv2::portFromParameter(i, program.values[i])) + " ]";
        }
        ByteStream record;
        writeProgram(program, record);
        out += " ;\n\tstate:state [\n\t\t" + iri(lv2::kStateProgramUri) + " " + std::to_string(p) +
               " ;\n\t\t" + iri(lv2::kStateProgramRecordUri) + " \"" +
               base64(record.bytes.data(), record.bytes.size()) + "\"^^xsd:base64Binary\n\t] .\n\n";
    }
    return out;
}

}  // namespace quenvale::lv2bundle
