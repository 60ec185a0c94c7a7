<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="AddPDFDialogTitle">
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="AddPDFDialogPDFFilter">
        <source>PDF documents and folders (*.pdf *.PDF)</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="AddPDFDialogAllFilter">
        <source>All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="AddPDFDialogButton">
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="AddPDFDialogRecursive">
        <source>Include &amp;sub-folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="OpenDestinationDialogTitle">
        <source>Convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="OpenDestinationDialogFilter">
        <source>PDF documents (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="EncryptOutputBox">
        <source>Protect the output with a &amp;password</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="EncryptPasswordLabel">
        <source>Pass&amp;word</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="EncryptVerifyLabel">
        <source>&amp;Verify</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PreviewEmptyText">
        <source>Select a document to see it here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="ThumbnailPageName">
        <source>Page %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="AboutVersionFormat">
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="AboutText">
        <source>&lt;h3&gt;Quillsheet&lt;/h3&gt;&lt;p&gt;Version %1&lt;/p&gt;&lt;p&gt;Stamps watermarks onto PDF files, many at a time.&lt;/p&gt;&lt;p&gt;Free software under the GNU General Public License, version 3 or later.&lt;/p&gt;&lt;p&gt;%2&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="AboutTitle">
        <source>About Quillsheet</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="NotAddedLine">
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="NotAddedMsg">
        <source>Not added: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="ProgressStarting">
        <source>Starting…</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="CancelTitle">
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="ProgressTitle">
        <source>Converting</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="ProgressStopping">
        <source>Stopping: the document in progress is not saved…</source>
        <oldsource>Stopping after the document in progress…</oldsource>
        <translation type="unfinished"></translation>
    </message>
    <message id="EmptyWatermarkAlertMsg">
        <source>The preset &quot;%1&quot; has no watermark layer switched on.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="EmptyWatermarkAlertMsg1">
        <source>Convert its documents without a watermark?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="ContinueTitle">
        <source>Continue</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FailedOutputLine">
        <source>%1 with &quot;%2&quot;: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="SuccessfullConvertTitle">
        <source>Conversion</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="SuccessfullConvertMsg" numerus="yes">
        <source>%n output(s) made</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message id="FailedConvertMsg" numerus="yes">
        <source>, %n failed.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message id="CancelledConvertMsg">
        <source>Cancelled: the document in progress was not saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="OkButtonString">
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="OpenPDFFileButton">
        <source>Open PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="OpenTargetButton">
        <source>Open Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="QuitDuringRunMsg">
        <source>A conversion is running. Cancel it and quit?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="QuitTitle">
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="QuitWithModifiedPresetsMsg">
        <source>Some presets are modified. Save them before quitting?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="DocumentsNameColumn">
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="DocumentsPagesColumn">
        <source>Pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PresetsNameColumn">
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PasswordAlertRetryMsg">
        <source>The password did not open &quot;%1&quot; (in %2) with printing allowed. Try another one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PasswordAlertMsg">
        <source>&quot;%1&quot; (in %2) is protected by a password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="HighQuality">
        <source>Pictures kept at 150 pixels per inch.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="MediumQuality">
        <source>Pictures reduced to 100 pixels per inch.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="LowQuality">
        <source>Pictures reduced to 72 pixels per inch: smallest files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="KeepOriginal">
        <source>The documents keep their own quality.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="QualityKeepOriginal">
        <source>Keep original</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="QualityHigh">
        <source>High</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="QualityMedium">
        <source>Medium</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="QualityLow">
        <source>Low</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PagesAll">
        <source>All pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PagesEven">
        <source>Even pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PagesOdd">
        <source>Odd pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PagesPortrait">
        <source>Portrait pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PagesLandscape">
        <source>Landscape pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PagesRange">
        <source>Page range</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PagesFirst">
        <source>First page</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PagesLast">
        <source>Last page</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PagesFirstAndLast">
        <source>First and last page</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PreferencesAlertTitle">
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="ListsDividerName">
        <source>Lists Divider</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="ThumbnailsDividerName">
        <source>Thumbnails Divider</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="MoreToolsName">
        <source>More Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="SizeGripName">
        <source>Resize Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="WindowTitle">
        <source>Quillsheet</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="ModeFill">
        <source>Fill</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="ModeStroke">
        <source>Outline</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="ModeFillStroke">
        <source>Fill and outline</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="LayoutOneLine">
        <source>One line</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="LayoutTwoLines">
        <source>Two lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="LayoutThreeLines">
        <source>Three lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="LayoutTiled">
        <source>Tiled</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FitNone">
        <source>Not fitted</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FitHorizontal">
        <source>Across the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FitVertical">
        <source>Down the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FitDiagonal">
        <source>Corner to corner</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="StylePositioned">
        <source>Placed at the mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="StyleCentred">
        <source>Centred</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="StyleFitted">
        <source>Fitted to the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="StyleStretched">
        <source>Stretched over the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="StyleCheckerboard">
        <source>Checkerboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="StyleTiles">
        <source>Tiles</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PositionFront">
        <source>In front of the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PositionBehind">
        <source>Behind the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PictureFilter">
        <source>Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.webp *.svg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PictureRefused">
        <source>%1 is not a picture that can be used: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PictureWellEmpty">
        <source>Drop a picture here</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="GoToPageTitle">
        <source>Go to Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="GoToPageLabel">
        <source>Page (1 to %1):</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="EditTextWatermark">
        <source>Edit Text Watermark</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="EditFillWatermark">
        <source>Edit Fill Watermark</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="DecreaseNumber">
        <source>Decrease %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="IncreaseNumber">
        <source>Increase %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="RemovePresetAlertMsg">
        <source>Remove the preset &quot;%1&quot;?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="RemoveManyPresetAlertMsg">
        <source>Remove the selected presets?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="DeleteTitle">
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="EmptyPresetNameAlertMsg">
        <source>A preset needs a name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PresetExistAlertMsg">
        <source>A preset named &quot;%1&quot; exists. Replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="ReplaceButtonTitle">
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PresetStoreFailedMsg">
        <source>The presets could not be stored: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="SwatchGrey">
        <source>Grey</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="SwatchPurple">
        <source>Purple</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="SwatchBlue">
        <source>Blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="SwatchGreen">
        <source>Green</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="SwatchYellow">
        <source>Yellow</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="SwatchOrange">
        <source>Orange</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="SwatchRed">
        <source>Red</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="SwatchBlack">
        <source>Black</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="MarkHiddenBadge">
        <source>The mark behind the page is hidden on this page (opaque background); put it in front?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="VisibilityEverywhere">
        <source>On screen and in print</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="VisibilityPrint">
        <source>In print only</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="VisibilityScreen">
        <source>On screen only</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="VisibilityName">
        <source>Visibility</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FailedRemovalLine">
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldValuesTitle">
        <source>Fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldValuesMsg">
        <source>The watermark text has fields without a value. What goes in them?</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldsTableBox">
        <source>One copy per row of a table</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldsTableTip">
        <source>A table with a first row of field names, as spreadsheets save it (CSV)</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldsTableName">
        <source>Table</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldsTableChoose">
        <source>Choose...</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldsTableChooseName">
        <source>Choose Table</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldsTableLabel">
        <source>Table:</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldsNamesName">
        <source>Output Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldsNamesTip">
        <source>The outputs&apos; names, from fields such as {file}, {preset} and the table&apos;s</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldsNamesLabel">
        <source>Output names:</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldsTableFilter">
        <source>Tables (*.csv);;All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FieldsTableMissing">
        <source>Choose the table, or turn off the copies per row.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="FillKindInUse">
        <source>Fills with: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="EditingPresets" numerus="yes">
        <source>Editing %n presets</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message id="OpenFailedTitle">
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="OpenFailedMsg">
        <source>The desktop has no program to open %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PageOfPages">
        <source>Page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PageLeftOutBadge">
        <source>This page is not marked: page selection %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="SavedInMsg">
        <source>Saved in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="RemoveMarksDialogTitle">
        <source>Remove Watermarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="KeepInputPasswordBox">
        <source>Protect copies of locked files with their own password</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PagesMarkedNote">
        <source>Pages marked: %1 (Preferences)</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="ChoosePictureTitle">
        <source>Choose Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="PageNotDrawn">
        <source>This page could not be drawn: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="EditorScrollerName">
        <source>Editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="AddFolderButton">
        <source>Add &amp;Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="AlreadyListedLine">
        <source>%1: already listed</source>
        <translation type="unfinished"></translation>
    </message>
    <message id="NothingConvertedMsg">
        <source>Nothing was converted: %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
