#include "StateDocument.h"

#include "common/StoredText.h"

#include <cstdlib>

namespace StateDocument
{

namespace
{
    bool parseUnitInterval (const juce::String& text, double& value)
    {
        const auto trimmed = text.trim();

        if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789+-.eE"))
            return false;

        char* end = nullptr;
        value = std::strtod (trimmed.toRawUTF8(), &end);
        return end != nullptr && *end == 0 && value >= 0.0 && value <= 1.0;
    }

    void removeTextElements (juce::XmlElement& element)
    {
        element.deleteAllTextElements();

        for (auto* child : element.getChildIterator())
            removeTextElements (*child);
    }
}

juce::Result load (const juce::File& file, const ParameterCatalogue& catalogue, std::unique_ptr<juce::XmlElement>& document)
{
    const auto name = "state file '" + file.getFullPathName() + "'";

    if (! file.existsAsFile())
        return juce::Result::fail ("cannot read " + name + ": no such file");

    juce::MemoryBlock bytes;

    if (! file.loadFileAsData (bytes))
        return juce::Result::fail ("cannot read " + name);

    // A byte-order mark may lead; the rest must be UTF-8 (the XML reader relies on it).
    auto* start = static_cast<const char*> (bytes.getData());
    auto size = (int) bytes.getSize();

    if (size >= 3 && juce::CharPointer_UTF8::isByteOrderMark (start))
    {
        start += 3;
        size -= 3;
    }

    const auto text = StoredText::fromUtf8 (start, size);

    if (text.isEmpty() && size > 0)
        return juce::Result::fail (name + " is not UTF-8 text");

    return parse (text, name, catalogue, document);
}

juce::Result parse (const juce::String& text, const juce::String& name, const ParameterCatalogue& catalogue,
                    std::unique_ptr<juce::XmlElement>& document)
{
    if (StoredText::hasProcessingInstruction (text))
        return juce::Result::fail (name + " is not a Velora state: it holds a processing instruction (<?...?>)");

    juce::XmlDocument parser (text);
    auto xml = parser.getDocumentElement();

    if (xml == nullptr)
        return juce::Result::fail (name + " is not XML: " + parser.getLastParseError().upToFirstOccurrenceOf ("\n", false, false));

    if (! xml->hasTagName ("PLUGINSETTINGS"))
        return juce::Result::fail (name + " is not a Velora state: its root element is <" + xml->getTagName() + ">, not <PLUGINSETTINGS>");

    const auto* tree = xml->getChildByName ("PARAMETERS");

    if (tree == nullptr)
        return juce::Result::fail (name + " has no PARAMETERS element");

    for (const auto* param : tree->getChildWithTagNameIterator ("PARAM"))
    {
        const auto id = param->getStringAttribute ("id");
        const auto valueText = param->getStringAttribute ("value");
        double value = 0.0;

        if (catalogue.find (id) == nullptr)
            return juce::Result::fail (name + " names an unknown parameter '" + id + "'");

        if (! param->hasAttribute ("value") || ! parseUnitInterval (valueText, value))
            return juce::Result::fail (name + ": parameter " + id + " has the value '" + valueText + "', not a number within 0..1");
    }

    if (xml->hasAttribute ("currentProgram"))
    {
        const auto program = xml->getStringAttribute ("currentProgram").trim();

        if (program.isEmpty() || ! program.containsOnly ("0123456789") || program.length() > 2 || program.getIntValue() > 19)
            return juce::Result::fail (name + ": currentProgram '" + program + "' is not a program number 0..19");
    }

    document = std::move (xml);
    return juce::Result::ok();
}

void apply (const juce::XmlElement& document, juce::AudioProcessor& processor)
{
    // Stray text between the elements means nothing to the plug-in, and JUCE's one-line
    // writer crashes on an element that follows text; it goes before the document is
    // wrapped.
    juce::XmlElement clean (document);
    removeTextElements (clean);

    juce::MemoryBlock data;
    juce::AudioProcessor::copyXmlToBinary (clean, data);
    processor.setStateInformation (data.getData(), (int) data.getSize());
}

juce::String save (juce::AudioProcessor& processor)
{
    juce::MemoryBlock data;
    processor.getStateInformation (data);

    if (const auto xml = juce::AudioProcessor::getXmlFromBinary (data.getData(), (int) data.getSize()))
        return xml->toString();

    return {};
}

} // namespace StateDocument
