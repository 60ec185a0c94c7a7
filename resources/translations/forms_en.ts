<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>EditorPanel</name>
    <message>
        <source>Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text &amp;Watermark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Te&amp;xt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font St&amp;yle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Si&amp;ze</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text &amp;Colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stro&amp;ke</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Opacity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opacity Slider</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Angle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Angle Dial</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>°</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Layout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F&amp;it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Distance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text &amp;Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;hadow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shadow Colo&amp;ur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Blur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X Offs&amp;et</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y Offse&amp;t</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill &amp;Watermark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill &amp;Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Si&amp;ze</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Size Slider</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill &amp;Opacity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Opacity Slider</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill &amp;Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill &amp;Colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pattern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patterns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drop a picture here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;hoose Picture…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colour Swatches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Layout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill in {page}, {pages}, {label}, {file}, {preset}, {date}, {time} and your own {NAME} fields; {{ and }} stand for braces</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Quillsheet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;resets</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Presets</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contact Support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Quillsheet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>−</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Revert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Revert Preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Watermarks...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output file names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset name &amp;before the file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset name &amp;after the file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;No preset name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Separator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Separator text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Replace existing files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One &amp;folder per preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quality</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page &amp;range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1-3, 7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
