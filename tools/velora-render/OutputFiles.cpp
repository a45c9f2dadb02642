#include "OutputFiles.h"

void OutputFiles::add (const juce::File& target, Writer writer)
{
    pending.push_back ({ target, std::move (writer) });
}

juce::Result OutputFiles::checkTargets() const
{
    for (size_t i = 0; i < pending.size(); ++i)
    {
        const auto& target = pending[i].target;
        const auto name = "'" + target.getFullPathName() + "'";
        const auto folder = target.getParentDirectory();

        if (target.isDirectory())
            return juce::Result::fail ("cannot write " + name + ": it is a directory");

        if (! folder.isDirectory())
            return juce::Result::fail ("cannot write " + name + ": the folder does not exist");

        if (! folder.hasWriteAccess() || (target.exists() && ! target.hasWriteAccess()))
            return juce::Result::fail ("cannot write " + name + ": permission denied");

        for (size_t j = 0; j < i; ++j)
            if (pending[j].target == target)
                return juce::Result::fail ("two outputs would go to the same file " + name);
    }

    return juce::Result::ok();
}

juce::Result OutputFiles::commit()
{
    std::vector<std::unique_ptr<juce::TemporaryFile>> temporaries;

    // A failure here leaves the targets untouched; the temporaries delete themselves.
    for (const auto& p : pending)
    {
        temporaries.push_back (std::make_unique<juce::TemporaryFile> (p.target, juce::TemporaryFile::useHiddenFile));

        const auto written = p.writer (temporaries.back()->getFile());

        if (written.failed())
            return written;
    }

    for (size_t i = 0; i < pending.size(); ++i)
        if (! temporaries[i]->overwriteTargetFileWithTemporary())
            return juce::Result::fail ("cannot replace '" + pending[i].target.getFullPathName() + "'");

    return juce::Result::ok();
}
