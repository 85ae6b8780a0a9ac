<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Revision:</source>
        <translation>Revision:</translation>
    </message>
    <message>
        <source>Pictor prepares picture resources for colour LCD modules:
import bitmaps, convert them into Icon.bin and Icon.h,
and download the image into the module&apos;s flash.</source>
        <translation>Pictor prepares picture resources for colour LCD modules:
import bitmaps, convert them into Icon.bin and Icon.h,
and download the image into the module&apos;s flash.</translation>
    </message>
    <message>
        <source>About Pictor</source>
        <translation>About Pictor</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>pictor-cli: convert pictures into LCD resource images and download them</source>
        <translation>pictor-cli: convert pictures into LCD resource images and download them</translation>
    </message>
    <message>
        <source>Print this help message and exit</source>
        <translation>Print this help message and exit</translation>
    </message>
    <message>
        <source>Language of the texts: zh or en (default: PICTOR_LANG, then LC_ALL, LC_MESSAGES, LANG)</source>
        <translation>Language of the texts: zh or en (default: PICTOR_LANG, then LC_ALL, LC_MESSAGES, LANG)</translation>
    </message>
    <message>
        <source>pictor-cli: give the PICTURE files or --project FILE</source>
        <translation>pictor-cli: give the PICTURE files or --project FILE</translation>
    </message>
    <message>
        <source>pictures: %1</source>
        <translation>pictures: %1</translation>
    </message>
    <message>
        <source>memory map: %1</source>
        <translation>memory map: %1</translation>
    </message>
    <message>
        <source>Settings file</source>
        <translation>Settings file</translation>
    </message>
    <message>
        <source>Model profile (default: CURRENT_MODE)</source>
        <translation>Model profile (default: CURRENT_MODE)</translation>
    </message>
    <message>
        <source>Colour depth in bits</source>
        <translation>Colour depth in bits</translation>
    </message>
    <message>
        <source>Colour type index (16-bit: 0 BGR_565, 1 RGB_565)</source>
        <translation>Colour type index (16-bit: 0 BGR_565, 1 RGB_565)</translation>
    </message>
    <message>
        <source>0 = horizontal first, 1 = vertical first</source>
        <translation>0 = horizontal first, 1 = vertical first</translation>
    </message>
    <message>
        <source>bin (Icon.bin) or c (C source Icon.c)</source>
        <translation>bin (Icon.bin) or c (C source Icon.c)</translation>
    </message>
    <message>
        <source>Allocation unit in bytes (power of two)</source>
        <translation>Allocation unit in bytes (power of two)</translation>
    </message>
    <message>
        <source>Band size: 0 (MAX) or 8, 16, ... 104</source>
        <translation>Band size: 0 (MAX) or 8, 16, ... 104</translation>
    </message>
    <message>
        <source>Keep each picture inside one 512-byte sector</source>
        <translation>Keep each picture inside one 512-byte sector</translation>
    </message>
    <message>
        <source>Size prefix before each picture</source>
        <translation>Size prefix before each picture</translation>
    </message>
    <message>
        <source>_H and _W lines in Icon.h</source>
        <translation>_H and _W lines in Icon.h</translation>
    </message>
    <message>
        <source>_T and _L lines in Icon.h</source>
        <translation>_T and _L lines in Icon.h</translation>
    </message>
    <message>
        <source>LCD size text, e.g. 320x240</source>
        <translation>LCD size text, e.g. 320x240</translation>
    </message>
    <message>
        <source>Background colour for transparent pixels (red in the low byte)</source>
        <translation>Background colour for transparent pixels (red in the low byte)</translation>
    </message>
    <message>
        <source>Dithering: none, ordered or fs</source>
        <translation>Dithering: none, ordered or fs</translation>
    </message>
    <message>
        <source>Project file: its pictures, positions, model and output folder</source>
        <translation>Project file: its pictures, positions, model and output folder</translation>
    </message>
    <message>
        <source>Picture files (or --project)</source>
        <translation>Picture files (or --project)</translation>
    </message>
    <message>
        <source>Convert pictures into Icon.bin + Icon.h (or Icon.c + Icon.h)</source>
        <translation>Convert pictures into Icon.bin + Icon.h (or Icon.c + Icon.h)</translation>
    </message>
    <message>
        <source>Output directory (default: the project&apos;s, else the working directory)</source>
        <translation>Output directory (default: the project&apos;s, else the working directory)</translation>
    </message>
    <message>
        <source>Store each picture&apos;s position in its file&apos;s trailer</source>
        <translation>Store each picture&apos;s position in its file&apos;s trailer</translation>
    </message>
    <message>
        <source>Threads that decode and encode pictures (default: all cores)</source>
        <translation>Threads that decode and encode pictures (default: all cores)</translation>
    </message>
    <message>
        <source>Write the memory map of Icon.bin as CSV to this file and print its totals</source>
        <translation>Write the memory map of Icon.bin as CSV to this file and print its totals</translation>
    </message>
    <message>
        <source>serial port: a device path or COMn (default: &quot;COM&quot; of [Scom])</source>
        <translation>serial port: a device path or COMn (default: &quot;COM&quot; of [Scom])</translation>
    </message>
    <message>
        <source>baud rate (default: &quot;BIT&quot; of [Scom])</source>
        <translation>baud rate (default: &quot;BIT&quot; of [Scom])</translation>
    </message>
    <message>
        <source>settings file (default ./Pictor.ini)</source>
        <translation>settings file (default ./Pictor.ini)</translation>
    </message>
    <message>
        <source>RS485 device address 0..255</source>
        <translation>RS485 device address 0..255</translation>
    </message>
    <message>
        <source>baud-rate index 0..6 (1200 2400 4800 9600 19200 57600 115200)</source>
        <translation>baud-rate index 0..6 (1200 2400 4800 9600 19200 57600 115200)</translation>
    </message>
    <message>
        <source>backlight level 0..9</source>
        <translation>backlight level 0..9</translation>
    </message>
    <message>
        <source>foreground colour 0..5 (BLACK BLUE GREEN RED WHITE YELLOW)</source>
        <translation>foreground colour 0..5 (BLACK BLUE GREEN RED WHITE YELLOW)</translation>
    </message>
    <message>
        <source>background colour 0..5</source>
        <translation>background colour 0..5</translation>
    </message>
    <message>
        <source>reason: port %1 does not exist (`pictor-cli ports` lists the ports)</source>
        <translation>reason: port %1 does not exist (`pictor-cli ports` lists the ports)</translation>
    </message>
    <message>
        <source>reason: port %1 is busy: another program has it open</source>
        <translation>reason: port %1 is busy: another program has it open</translation>
    </message>
    <message>
        <source>reason: permission denied on %1; add your user to the dialout group (sudo usermod -aG dialout $USER) and log in again</source>
        <translation>reason: permission denied on %1; add your user to the dialout group (sudo usermod -aG dialout $USER) and log in again</translation>
    </message>
    <message>
        <source>reason: the baud rate is not usable on %1</source>
        <translation>reason: the baud rate is not usable on %1</translation>
    </message>
    <message>
        <source>reason: %1: %2</source>
        <translation>reason: %1: %2</translation>
    </message>
    <message>
        <source>reason: the connect request could not be written to the port</source>
        <translation>reason: the connect request could not be written to the port</translation>
    </message>
    <message>
        <source>reason: no reply from the module (not a single byte within 500 ms); check the cable, the port and the baud rate</source>
        <translation>reason: no reply from the module (not a single byte within 500 ms); check the cable, the port and the baud rate</translation>
    </message>
    <message>
        <source>reason: the module&apos;s reply was cut short (1 of 2 bytes)</source>
        <translation>reason: the module&apos;s reply was cut short (1 of 2 bytes)</translation>
    </message>
    <message>
        <source>reason: unknown flash kind in the reply %1 (expected 90 01 to 90 05)</source>
        <translation>reason: unknown flash kind in the reply %1 (expected 90 01 to 90 05)</translation>
    </message>
    <message>
        <source>no serial ports found</source>
        <translation>no serial ports found</translation>
    </message>
    <message>
        <source>flash kind: %1</source>
        <translation>flash kind: %1</translation>
    </message>
    <message>
        <source>flash type: %1</source>
        <translation>flash type: %1</translation>
    </message>
    <message>
        <source>transfer mode: %1</source>
        <translation>transfer mode: %1</translation>
    </message>
    <message>
        <source>image start sector: %1</source>
        <translation>image start sector: %1</translation>
    </message>
    <message>
        <source>flash size: %1 MiB</source>
        <translation>flash size: %1 MiB</translation>
    </message>
    <message>
        <source>(out of range, not taken)</source>
        <translation>(out of range, not taken)</translation>
    </message>
    <message>
        <source>address: %1</source>
        <translation>address: %1</translation>
    </message>
    <message>
        <source>baud: %1</source>
        <translation>baud: %1</translation>
    </message>
    <message>
        <source>backlight: %1</source>
        <translation>backlight: %1</translation>
    </message>
    <message>
        <source>foreground: %1</source>
        <translation>foreground: %1</translation>
    </message>
    <message>
        <source>background: %1</source>
        <translation>background: %1</translation>
    </message>
    <message>
        <source>summary: %1 bytes written in %2 s (%3 included; %4 s in all), %5 KB/s, %6% of the line rate of %7 baud</source>
        <translation>summary: %1 bytes written in %2 s (%3 included; %4 s in all), %5 KB/s, %6% of the line rate of %7 baud</translation>
    </message>
    <message>
        <source>read-back check</source>
        <translation>read-back check</translation>
    </message>
    <message>
        <source>acknowledgements</source>
        <translation>acknowledgements</translation>
    </message>
    <message>
        <source>reason: cannot open %1</source>
        <translation>reason: cannot open %1</translation>
    </message>
    <message>
        <source>reason: %1 could not be read whole</source>
        <translation>reason: %1 could not be read whole</translation>
    </message>
    <message>
        <source>list the serial ports present</source>
        <translation>list the serial ports present</translation>
    </message>
    <message>
        <source>connect to the module and show its flash</source>
        <translation>connect to the module and show its flash</translation>
    </message>
    <message>
        <source>download a resource image into the module&apos;s flash</source>
        <translation>download a resource image into the module&apos;s flash</translation>
    </message>
    <message>
        <source>the resource image</source>
        <translation>the resource image</translation>
    </message>
    <message>
        <source>send the LCD settings after a successful download</source>
        <translation>send the LCD settings after a successful download</translation>
    </message>
    <message>
        <source>read or write the module&apos;s own settings</source>
        <translation>read or write the module&apos;s own settings</translation>
    </message>
    <message>
        <source>read the module&apos;s settings</source>
        <translation>read the module&apos;s settings</translation>
    </message>
    <message>
        <source>write the module&apos;s settings</source>
        <translation>write the module&apos;s settings</translation>
    </message>
    <message>
        <source>pictor-cli: cannot write %1</source>
        <translation>pictor-cli: cannot write %1</translation>
    </message>
    <message>
        <source>preview: %1 (%2x%3)</source>
        <translation>preview: %1 (%2x%3)</translation>
    </message>
    <message>
        <source>Render the panel as the module shows the converted pictures, as a PNG</source>
        <translation>Render the panel as the module shows the converted pictures, as a PNG</translation>
    </message>
    <message>
        <source>The PNG file to write</source>
        <translation>The PNG file to write</translation>
    </message>
    <message>
        <source>Usage</source>
        <translation>Usage</translation>
    </message>
    <message>
        <source>OPTIONS</source>
        <translation>OPTIONS</translation>
    </message>
    <message>
        <source>Positionals</source>
        <translation>Positionals</translation>
    </message>
    <message>
        <source>REQUIRED</source>
        <translation>REQUIRED</translation>
    </message>
    <message>
        <source>Excludes</source>
        <translation>Excludes</translation>
    </message>
    <message>
        <source>Needs</source>
        <translation>Needs</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>reason: access denied on %1: another program may have it open, or it may not be used by this user</source>
        <translation>reason: access denied on %1: another program may have it open, or it may not be used by this user</translation>
    </message>
    <message>
        <source>pictor-cli: %1</source>
        <translation>pictor-cli: %1</translation>
    </message>
    <message>
        <source>pictor-cli: cannot read the old image %1; nothing was sent</source>
        <translation>pictor-cli: cannot read the old image %1; nothing was sent</translation>
    </message>
    <message>
        <source>OLD.bin, the image the module holds now: erase and write only the 64 KiB blocks that differ from it (after checking that the module holds it; otherwise the whole image)</source>
        <translation>OLD.bin, the image the module holds now: erase and write only the 64 KiB blocks that differ from it (after checking that the module holds it; otherwise the whole image)</translation>
    </message>
    <message>
        <source>what to erase: image (only the blocks the image occupies; the flash beyond keeps its content) or to-end (from the image to the end of the flash, the default)</source>
        <translation>what to erase: image (only the blocks the image occupies; the flash beyond keeps its content) or to-end (from the image to the end of the flash, the default)</translation>
    </message>
    <message>
        <source>changes only: %1 of %2 blocks changed, %3 bytes sent in %4 s; a whole download would take about %5 s</source>
        <translation>changes only: %1 of %2 blocks changed, %3 bytes sent in %4 s; a whole download would take about %5 s</translation>
    </message>
    <message>
        <source>reason: no answer to the check read of image sector %1; nothing was erased</source>
        <translation>reason: no answer to the check read of image sector %1; nothing was erased</translation>
    </message>
    <message>
        <source>the module was left as it was: nothing had been erased</source>
        <translation>the module was left as it was: nothing had been erased</translation>
    </message>
    <message>
        <source>the module holds a partly written image: download it again</source>
        <translation>the module holds a partly written image: download it again</translation>
    </message>
    <message>
        <source>(deleted)</source>
        <translation>(deleted)</translation>
    </message>
    <message>
        <source>start</source>
        <translation>start</translation>
    </message>
    <message>
        <source>changed: %1</source>
        <translation>changed: %1</translation>
    </message>
    <message>
        <source>round %1 (%2): conversion failed; the module was left as it was</source>
        <translation>round %1 (%2): conversion failed; the module was left as it was</translation>
    </message>
    <message>
        <source>round %1 (%2): download cancelled</source>
        <translation>round %1 (%2): download cancelled</translation>
    </message>
    <message>
        <source>round %1 (%2): download failed; the next round downloads the whole image</source>
        <translation>round %1 (%2): download failed; the next round downloads the whole image</translation>
    </message>
    <message>
        <source>round %1 (%2): %3 of %4 blocks sent in %5 s</source>
        <translation>round %1 (%2): %3 of %4 blocks sent in %5 s</translation>
    </message>
    <message>
        <source>round %1 (%2): whole image, %3 blocks sent in %4 s</source>
        <translation>round %1 (%2): whole image, %3 blocks sent in %4 s</translation>
    </message>
    <message>
        <source>convert a project and download it, then again (only the changed blocks) whenever its files change; Ctrl-C ends</source>
        <translation>convert a project and download it, then again (only the changed blocks) whenever its files change; Ctrl-C ends</translation>
    </message>
    <message>
        <source>the project file to convert</source>
        <translation>the project file to convert</translation>
    </message>
    <message>
        <source>Print the version and exit</source>
        <translation>Print the version and exit</translation>
    </message>
    <message>
        <source>give the size as WxH, each 1 to 8192 pixels</source>
        <translation>give the size as WxH, each 1 to 8192 pixels</translation>
    </message>
    <message>
        <source>Scale every picture to WxH pixels</source>
        <translation>Scale every picture to WxH pixels</translation>
    </message>
    <message>
        <source>Scale every picture to fit inside WxH, keeping its shape</source>
        <translation>Scale every picture to fit inside WxH, keeping its shape</translation>
    </message>
    <message>
        <source>Scale every picture to fit inside the panel, keeping its shape</source>
        <translation>Scale every picture to fit inside the panel, keeping its shape</translation>
    </message>
    <message>
        <source>Scaling filter: nearest, area or bilinear (default: nearest for whole factors, else area)</source>
        <translation>Scaling filter: nearest, area or bilinear (default: nearest for whole factors, else area)</translation>
    </message>
    <message>
        <source>Rotate every picture clockwise: 90, 180 or 270</source>
        <translation>Rotate every picture clockwise: 90, 180 or 270</translation>
    </message>
    <message>
        <source>Mirror every picture: horizontal (h), vertical (v) or both (hv)</source>
        <translation>Mirror every picture: horizontal (h), vertical (v) or both (hv)</translation>
    </message>
    <message>
        <source>give none, horizontal, vertical or both</source>
        <translation>give none, horizontal, vertical or both</translation>
    </message>
    <message>
        <source>Invert the colours of every picture (alpha kept)</source>
        <translation>Invert the colours of every picture (alpha kept)</translation>
    </message>
</context>
<context>
    <name>ConfigDialog</name>
    <message>
        <source>彩色LCM图片下载工具</source>
        <translation>Picture download tool for colour LCD modules</translation>
    </message>
    <message>
        <source>Pictor · picture resources for colour LCD modules</source>
        <translation>Pictor · picture resources for colour LCD modules</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>Binary file [*.bin] and Header file [*.h]</source>
        <translation>Binary file [*.bin] and Header file [*.h]</translation>
    </message>
    <message>
        <source>Source code with constant &quot;CBYTE&quot; array [*.c] and Header file [*.h]</source>
        <translation>Source code with constant &quot;CBYTE&quot; array [*.c] and Header file [*.h]</translation>
    </message>
    <message>
        <source>Append width and height info. to output file [*.bin] or [*.c]</source>
        <translation>Append width and height info. to output file [*.bin] or [*.c]</translation>
    </message>
    <message>
        <source>Append width and height info. to Header file [*.h]</source>
        <translation>Append width and height info. to Header file [*.h]</translation>
    </message>
    <message>
        <source>Append left and top info. to Header file [*.h]</source>
        <translation>Append left and top info. to Header file [*.h]</translation>
    </message>
    <message>
        <source>Minimum allocate size (BYTE)</source>
        <translation>Minimum allocate size (BYTE)</translation>
    </message>
    <message>
        <source>Avoid across sector</source>
        <translation>Avoid across sector</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Horizontal first</source>
        <translation>Horizontal first</translation>
    </message>
    <message>
        <source>Vertical first</source>
        <translation>Vertical first</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>How grey levels and 565 colours are mixed to render shades between them (24-bit keeps every colour)</source>
        <translation>How grey levels and 565 colours are mixed to render shades between them (24-bit keeps every colour)</translation>
    </message>
    <message>
        <source>Choose the program that edits pictures</source>
        <translation>Choose the program that edits pictures</translation>
    </message>
    <message>
        <source>Choose the background colour of the preview</source>
        <translation>Choose the background colour of the preview</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Remove the selected model from the model list</source>
        <translation>Remove the selected model from the model list</translation>
    </message>
    <message>
        <source>Write the shown values into the selected model</source>
        <translation>Write the shown values into the selected model</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Make the selected model active (its values are saved)</source>
        <translation>Make the selected model active (its values are saved)</translation>
    </message>
    <message>
        <source>Close without changing the active model</source>
        <translation>Close without changing the active model</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>LCD尺寸</source>
        <translation>LCD size</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Color depth</source>
        <translation>Color depth</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Color type</source>
        <translation>Color type</translation>
    </message>
    <message>
        <source>Block Column Number</source>
        <translation>Block Column Number</translation>
    </message>
    <message>
        <source>Editor Application:</source>
        <translation>Editor Application:</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>Dither</source>
        <translation>Dither</translation>
    </message>
    <message>
        <source>没有找到配置文件! </source>
        <translation>No settings file found!</translation>
    </message>
    <message>
        <source>Choose the picture editor</source>
        <translation>Choose the picture editor</translation>
    </message>
    <message>
        <source>All Files(*);;Execute file(*.exe)</source>
        <translation>All Files(*);;Execute file(*.exe)</translation>
    </message>
    <message>
        <source>Input the new model name</source>
        <translation>Input the new model name</translation>
    </message>
    <message>
        <source>Binary file(*.bin);;All file(*)</source>
        <translation>Binary file(*.bin);;All file(*)</translation>
    </message>
    <message>
        <source>The model name has blanks at its ends; rename it.</source>
        <translation>The model name has blanks at its ends; rename it.</translation>
    </message>
    <message>
        <source>Delete the model &quot;%1&quot;? It leaves the model list; its section stays in the settings file.</source>
        <translation>Delete the model &quot;%1&quot;? It leaves the model list; its section stays in the settings file.</translation>
    </message>
    <message>
        <source>The settings file could not be written: %1</source>
        <translation>The settings file could not be written: %1</translation>
    </message>
    <message>
        <source>Models — Pictor</source>
        <translation>Models — Pictor</translation>
    </message>
</context>
<context>
    <name>Core</name>
    <message>
        <source>擦除Flash...%d %%</source>
        <translation>Erasing the flash... %d %%</translation>
    </message>
    <message>
        <source>写数据 %d %%</source>
        <translation>Writing data %d %%</translation>
    </message>
    <message>
        <source>写数据%d %%</source>
        <translation>Writing data %d %%</translation>
    </message>
    <message>
        <source>写数据...%d %%</source>
        <translation>Writing data... %d %%</translation>
    </message>
    <message>
        <source>下载 Bin档%d %%</source>
        <translation>Downloading the image %d %%</translation>
    </message>
    <message>
        <source>读数据%d %%</source>
        <translation>Reading data %d %%</translation>
    </message>
    <message>
        <source>读数据...%d %%</source>
        <translation>Reading data... %d %%</translation>
    </message>
    <message>
        <source>写入%1 失败!</source>
        <translation>Writing %1 failed!</translation>
    </message>
    <message>
        <source>加载图片 %1 错误 !</source>
        <translation>The picture %1 could not be loaded!</translation>
    </message>
    <message>
        <source>颜色深度 %1 无效!</source>
        <translation>Colour depth %1 is not valid!</translation>
    </message>
    <message>
        <source>图片数量超过512!</source>
        <translation>More than 512 pictures!</translation>
    </message>
    <message>
        <source>图片名称 %1 无效!</source>
        <translation>The picture name %1 is not valid!</translation>
    </message>
    <message>
        <source>打开%1 文件错误!</source>
        <translation>The file %1 could not be opened!</translation>
    </message>
    <message>
        <source>生成 %1 错误!..</source>
        <translation>%1 could not be created!</translation>
    </message>
    <message>
        <source>打开存在文件%1 错误!!</source>
        <translation>The existing file %1 could not be opened!</translation>
    </message>
    <message>
        <source>生成新文件%1 错误!..</source>
        <translation>The new file %1 could not be created!</translation>
    </message>
    <message>
        <source>单个图片尺寸大于1 sector!</source>
        <translation>A single picture is larger than one sector!</translation>
    </message>
    <message>
        <source>打开bin档错误! %1</source>
        <translation>The position could not be stored in the picture file %1!</translation>
    </message>
    <message>
        <source>%1 keeps an output as it was before an interrupted conversion, and it could not be put back; nothing was converted</source>
        <translation>%1 keeps an output as it was before an interrupted conversion, and it could not be put back; nothing was converted</translation>
    </message>
    <message>
        <source>Writing %1 failed, and the previous %2 could not be put back: it is kept as %3, and the next conversion into this folder puts it back</source>
        <translation>Writing %1 failed, and the previous %2 could not be put back: it is kept as %3, and the next conversion into this folder puts it back</translation>
    </message>
    <message>
        <source>%1 is %2 bytes, more than the flash&apos;s %3 bytes; it does not fit in the module</source>
        <translation>%1 is %2 bytes, more than the flash&apos;s %3 bytes; it does not fit in the module</translation>
    </message>
    <message>
        <source>转档成功</source>
        <translation>Conversion finished</translation>
    </message>
    <message>
        <source>错误信息</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>设备正忙：下载正在进行</source>
        <translation>Device busy: a download is running</translation>
    </message>
    <message>
        <source>设备正忙：正在通信</source>
        <translation>Device busy: an exchange is in progress</translation>
    </message>
    <message>
        <source>下载已取消</source>
        <translation>Download cancelled</translation>
    </message>
    <message>
        <source>下载 Bin档成功</source>
        <translation>Image downloaded</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>擦除Flash</source>
        <translation>Erasing the flash</translation>
    </message>
    <message>
        <source>连接设备</source>
        <translation>Connecting to the module</translation>
    </message>
    <message>
        <source>连接失败!</source>
        <translation>Connection failed!</translation>
    </message>
    <message>
        <source>读取Bin档</source>
        <translation>Reading the image</translation>
    </message>
    <message>
        <source>读取 Bin 档失败!</source>
        <translation>The image could not be read!</translation>
    </message>
    <message>
        <source>flash 删除失败!</source>
        <translation>Erasing the flash failed!</translation>
    </message>
    <message>
        <source>下载 Bin档失败!</source>
        <translation>Downloading the image failed!</translation>
    </message>
    <message>
        <source>检查 Bin档失败!</source>
        <translation>Checking the image failed!</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>the image was downloaded, but the LCD settings were not written</source>
        <translation>the image was downloaded, but the LCD settings were not written</translation>
    </message>
    <message>
        <source>Bin文件超过1M 容量!!</source>
        <translation>The image is larger than 1 MiB, the most this flash can take</translation>
    </message>
    <message>
        <source>Bin文件超过14M 容量!!</source>
        <translation>The image is larger than 14 MiB, the most this flash can take</translation>
    </message>
    <message>
        <source>Bin文件超过6M 容量!!</source>
        <translation>The image is larger than 6 MiB, the most this flash can take</translation>
    </message>
    <message>
        <source>the image is empty; nothing was erased</source>
        <translation>the image is empty; nothing was erased</translation>
    </message>
    <message>
        <source>打开文件失败%1</source>
        <translation>Cannot open the file %1</translation>
    </message>
    <message>
        <source>打开 %1 错误 !</source>
        <translation>%1 could not be opened!</translation>
    </message>
    <message>
        <source>没有找到配置文件! </source>
        <translation>No settings file found!</translation>
    </message>
    <message>
        <source>串口无法打开!</source>
        <translation>The serial port cannot be opened!</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>Connection failed</translation>
    </message>
    <message>
        <source>连接LCM 失败</source>
        <translation>Connecting to the LCD module failed</translation>
    </message>
    <message>
        <source>读LCD设置数据</source>
        <translation>Reading the LCD settings</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>写LCD设置数据</source>
        <translation>Writing the LCD settings</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>pictures: %1</source>
        <translation>pictures: %1</translation>
    </message>
    <message>
        <source>pixel data: %1 bytes</source>
        <translation>pixel data: %1 bytes</translation>
    </message>
    <message>
        <source>size prefixes: %1 bytes</source>
        <translation>size prefixes: %1 bytes</translation>
    </message>
    <message>
        <source>padding: %1 bytes (allocation unit %2, sector rule %3)</source>
        <translation>padding: %1 bytes (allocation unit %2, sector rule %3)</translation>
    </message>
    <message>
        <source>table: %1 bytes</source>
        <translation>table: %1 bytes</translation>
    </message>
    <message>
        <source>image: %1 bytes</source>
        <translation>image: %1 bytes</translation>
    </message>
    <message>
        <source>flash: %1 bytes, %2 used</source>
        <translation>flash: %1 bytes, %2 used</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>it is empty</translation>
    </message>
    <message>
        <source>it starts with a digit</source>
        <translation>it starts with a digit</translation>
    </message>
    <message>
        <source>it contains a space</source>
        <translation>it contains a space</translation>
    </message>
    <message>
        <source>it contains a hyphen</source>
        <translation>it contains a hyphen</translation>
    </message>
    <message>
        <source>it contains a non-ASCII character</source>
        <translation>it contains a non-ASCII character</translation>
    </message>
    <message>
        <source>it contains a control character</source>
        <translation>it contains a control character</translation>
    </message>
    <message>
        <source>it contains &apos;%1&apos;</source>
        <translation>it contains &apos;%1&apos;</translation>
    </message>
    <message>
        <source>warning: picture %1 gives the symbol %2 in Icon.h, which is not a valid C identifier (%3)</source>
        <translation>warning: picture %1 gives the symbol %2 in Icon.h, which is not a valid C identifier (%3)</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source> and </source>
        <translation> and </translation>
    </message>
    <message>
        <source>warning: pictures %1 both give the symbol %2 in Icon.h</source>
        <translation>warning: pictures %1 both give the symbol %2 in Icon.h</translation>
    </message>
    <message>
        <source>warning: pictures %1 all give the symbol %2 in Icon.h</source>
        <translation>warning: pictures %1 all give the symbol %2 in Icon.h</translation>
    </message>
    <message>
        <source>%1: not a project file (no &quot;version&quot; line)</source>
        <translation>%1: not a project file (no &quot;version&quot; line)</translation>
    </message>
    <message>
        <source>%1: line %2: %3</source>
        <translation>%1: line %2: %3</translation>
    </message>
    <message>
        <source>a section line must look like [name]</source>
        <translation>a section line must look like [name]</translation>
    </message>
    <message>
        <source>expected &quot;key = value&quot;</source>
        <translation>expected &quot;key = value&quot;</translation>
    </message>
    <message>
        <source>a key is missing before &apos;=&apos;</source>
        <translation>a key is missing before &apos;=&apos;</translation>
    </message>
    <message>
        <source>the line holds a NUL character</source>
        <translation>the line holds a NUL character</translation>
    </message>
    <message>
        <source>&quot;%1&quot; appears twice</source>
        <translation>&quot;%1&quot; appears twice</translation>
    </message>
    <message>
        <source>the version must be a whole number from 1</source>
        <translation>the version must be a whole number from 1</translation>
    </message>
    <message>
        <source>written in project format %1, newer than this program reads (%2)</source>
        <translation>written in project format %1, newer than this program reads (%2)</translation>
    </message>
    <message>
        <source>the picture&apos;s file is empty</source>
        <translation>the picture&apos;s file is empty</translation>
    </message>
    <message>
        <source>&quot;shown&quot; must be yes or no</source>
        <translation>&quot;shown&quot; must be yes or no</translation>
    </message>
    <message>
        <source>&quot;position&quot; must be two whole numbers: left,top</source>
        <translation>&quot;position&quot; must be two whole numbers: left,top</translation>
    </message>
    <message>
        <source>the picture has no &quot;file&quot; line</source>
        <translation>the picture has no &quot;file&quot; line</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1: no such file</translation>
    </message>
    <message>
        <source>%1: not a regular file</source>
        <translation>%1: not a regular file</translation>
    </message>
    <message>
        <source>%1: permission denied</source>
        <translation>%1: permission denied</translation>
    </message>
    <message>
        <source>%1: cannot be opened</source>
        <translation>%1: cannot be opened</translation>
    </message>
    <message>
        <source>%1: too large for a project file (over 16 MiB)</source>
        <translation>%1: too large for a project file (over 16 MiB)</translation>
    </message>
    <message>
        <source>%1: read error</source>
        <translation>%1: read error</translation>
    </message>
    <message>
        <source>The model name is empty; type a name.</source>
        <translation>The model name is empty; type a name.</translation>
    </message>
    <message>
        <source>The model name &quot;%1&quot; cannot be used: it must not hold [, ], = or control characters.</source>
        <translation>The model name &quot;%1&quot; cannot be used: it must not hold [, ], = or control characters.</translation>
    </message>
    <message>
        <source>colour depth %1 cannot be decoded (1, 2, 4, 8, 16 or 24)</source>
        <translation>colour depth %1 cannot be decoded (1, 2, 4, 8, 16 or 24)</translation>
    </message>
    <message>
        <source>negative picture size</source>
        <translation>negative picture size</translation>
    </message>
    <message>
        <source>not enough memory for a %1 x %2 picture</source>
        <translation>not enough memory for a %1 x %2 picture</translation>
    </message>
    <message>
        <source>the picture needs %1 bytes, only %2 are there</source>
        <translation>the picture needs %1 bytes, only %2 are there</translation>
    </message>
    <message>
        <source>the image is shorter (%1 bytes) than its table (2048 bytes)</source>
        <translation>the image is shorter (%1 bytes) than its table (2048 bytes)</translation>
    </message>
    <message>
        <source>the table has no picture %1 (0 to 511)</source>
        <translation>the table has no picture %1 (0 to 511)</translation>
    </message>
    <message>
        <source>the table holds no picture %1</source>
        <translation>the table holds no picture %1</translation>
    </message>
    <message>
        <source>picture %1 starts inside the table (offset %2)</source>
        <translation>picture %1 starts inside the table (offset %2)</translation>
    </message>
    <message>
        <source>picture %1: the size prefix at offset %2 runs past the end of the image</source>
        <translation>picture %1: the size prefix at offset %2 runs past the end of the image</translation>
    </message>
    <message>
        <source>picture %1: the size prefix says %2x%3, expected %4x%5</source>
        <translation>picture %1: the size prefix says %2x%3, expected %4x%5</translation>
    </message>
    <message>
        <source>picture %1: without a size prefix the picture&apos;s size must be given</source>
        <translation>picture %1: without a size prefix the picture&apos;s size must be given</translation>
    </message>
    <message>
        <source>picture %1: negative picture size</source>
        <translation>picture %1: negative picture size</translation>
    </message>
    <message>
        <source>picture %1 runs past the end of the image (%2 &gt; %3 bytes)</source>
        <translation>picture %1 runs past the end of the image (%2 &gt; %3 bytes)</translation>
    </message>
    <message>
        <source>picture %1 overlaps the block of picture %2</source>
        <translation>picture %1 overlaps the block of picture %2</translation>
    </message>
    <message>
        <source>%1 of %2 blocks changed</source>
        <translation>%1 of %2 blocks changed</translation>
    </message>
    <message>
        <source>checking what the module holds</source>
        <translation>checking what the module holds</translation>
    </message>
    <message>
        <source>the module does not hold %1; downloading the whole image</source>
        <translation>the module does not hold %1; downloading the whole image</translation>
    </message>
    <message>
        <source>there is no settings file, so no model %1</source>
        <translation>there is no settings file, so no model %1</translation>
    </message>
    <message>
        <source>model &apos;%1&apos; is not in %2</source>
        <translation>model &apos;%1&apos; is not in %2</translation>
    </message>
    <message>
        <source>%1 names no usable current model; using the built-in defaults</source>
        <translation>%1 names no usable current model; using the built-in defaults</translation>
    </message>
    <message>
        <source>colour type %1 is not a colour type of depth %2 (0 to %3)</source>
        <translation>colour type %1 is not a colour type of depth %2 (0 to %3)</translation>
    </message>
    <message>
        <source>picture of the project not found: %1</source>
        <translation>picture of the project not found: %1</translation>
    </message>
    <message>
        <source>the memory map %1 would overwrite %2; nothing converted</source>
        <translation>the memory map %1 would overwrite %2; nothing converted</translation>
    </message>
    <message>
        <source>no picture files and no project to convert</source>
        <translation>no picture files and no project to convert</translation>
    </message>
    <message>
        <source>not every picture of the project could be loaded; nothing converted</source>
        <translation>not every picture of the project could be loaded; nothing converted</translation>
    </message>
    <message>
        <source>no picture could be loaded; nothing converted</source>
        <translation>no picture could be loaded; nothing converted</translation>
    </message>
    <message>
        <source>not every picture could be loaded; nothing done</source>
        <translation>not every picture could be loaded; nothing done</translation>
    </message>
    <message>
        <source>a memory map needs the binary output: C source (Icon.c) has no memory layout; nothing converted</source>
        <translation>a memory map needs the binary output: C source (Icon.c) has no memory layout; nothing converted</translation>
    </message>
    <message>
        <source>cannot write the memory map %1; the image and the header were written</source>
        <translation>cannot write the memory map %1; the image and the header were written</translation>
    </message>
    <message>
        <source>access denied: the file may be read-only or open in another program</source>
        <translation>access denied: the file may be read-only or open in another program</translation>
    </message>
    <message>
        <source>the file is in use by another program</source>
        <translation>the file is in use by another program</translation>
    </message>
    <message>
        <source>no such file or folder</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>the file exists already</source>
        <translation>the file exists already</translation>
    </message>
    <message>
        <source>the disk is write-protected</source>
        <translation>the disk is write-protected</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>1 Byte</source>
        <translation>1 Byte</translation>
    </message>
    <message>
        <source>2 Bytes</source>
        <translation>2 Bytes</translation>
    </message>
    <message>
        <source>4 Bytes</source>
        <translation>4 Bytes</translation>
    </message>
    <message>
        <source>8 Bytes</source>
        <translation>8 Bytes</translation>
    </message>
    <message>
        <source>16 Bytes</source>
        <translation>16 Bytes</translation>
    </message>
    <message>
        <source>32 Bytes</source>
        <translation>32 Bytes</translation>
    </message>
    <message>
        <source>64 Byte</source>
        <translation>64 Byte</translation>
    </message>
    <message>
        <source>128 Bytes</source>
        <translation>128 Bytes</translation>
    </message>
    <message>
        <source>256 Bytes</source>
        <translation>256 Bytes</translation>
    </message>
    <message>
        <source>512 Bytes</source>
        <translation>512 Bytes</translation>
    </message>
    <message>
        <source>1024 Bytes</source>
        <translation>1024 Bytes</translation>
    </message>
    <message>
        <source>2048 Bytes</source>
        <translation>2048 Bytes</translation>
    </message>
    <message>
        <source>4096 Byte</source>
        <translation>4096 Byte</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Ordered</source>
        <translation>Ordered</translation>
    </message>
    <message>
        <source>Floyd–Steinberg</source>
        <translation>Floyd–Steinberg</translation>
    </message>
    <message>
        <source>%1 (%2) is larger than the panel (%3)</source>
        <translation>%1 (%2) is larger than the panel (%3)</translation>
    </message>
    <message>
        <source>%1 (%2) at %3,%4 reaches past the edge of the panel (%5)</source>
        <translation>%1 (%2) at %3,%4 reaches past the edge of the panel (%5)</translation>
    </message>
    <message>
        <source>%1: not a TrueType or OpenType font</source>
        <translation>%1: not a TrueType or OpenType font</translation>
    </message>
    <message>
        <source>%1: the font has PostScript (CFF) outlines; choose a TrueType font</source>
        <translation>%1: the font has PostScript (CFF) outlines; choose a TrueType font</translation>
    </message>
    <message>
        <source>%1: the font has no Unicode character map</source>
        <translation>%1: the font has no Unicode character map</translation>
    </message>
    <message>
        <source>%1: the font file is damaged</source>
        <translation>%1: the font file is damaged</translation>
    </message>
    <message>
        <source>%1: no such font file</source>
        <translation>%1: no such font file</translation>
    </message>
    <message>
        <source>%1: the font file cannot be read</source>
        <translation>%1: the font file cannot be read</translation>
    </message>
    <message>
        <source>%1: too large for a font file (over 64 MiB)</source>
        <translation>%1: too large for a font file (over 64 MiB)</translation>
    </message>
    <message>
        <source>the text at %1 pixels would be %2 x %3 pixels, more than %4 on a side</source>
        <translation>the text at %1 pixels would be %2 x %3 pixels, more than %4 on a side</translation>
    </message>
    <message>
        <source>the text is not UTF-8</source>
        <translation>the text is not UTF-8</translation>
    </message>
    <message>
        <source>the text is empty</source>
        <translation>the text is empty</translation>
    </message>
    <message>
        <source>the text size %1 is not %2 to %3 pixels</source>
        <translation>the text size %1 is not %2 to %3 pixels</translation>
    </message>
    <message>
        <source>%1: a glyph of the font is too large to draw at %2 pixels</source>
        <translation>%1: a glyph of the font is too large to draw at %2 pixels</translation>
    </message>
    <message>
        <source>%1: the text draws nothing with this font</source>
        <translation>%1: the text draws nothing with this font</translation>
    </message>
    <message>
        <source>%1 has no glyph for %2 (in &quot;%3&quot;); its empty box is drawn instead</source>
        <translation>%1 has no glyph for %2 (in &quot;%3&quot;); its empty box is drawn instead</translation>
    </message>
    <message>
        <source>%1: the crop %2 does not lie inside the picture (%3)</source>
        <translation>%1: the crop %2 does not lie inside the picture (%3)</translation>
    </message>
    <message>
        <source>%1: after its operations the picture (%2) would not be 1 to %3 pixels on each side</source>
        <translation>%1: after its operations the picture (%2) would not be 1 to %3 pixels on each side</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is empty</source>
        <translation>&quot;%1&quot; is empty</translation>
    </message>
    <message>
        <source>the text has no &quot;%1&quot; line</source>
        <translation>the text has no &quot;%1&quot; line</translation>
    </message>
    <message>
        <source>&quot;crop&quot; must be X,Y,W,H: whole numbers, W and H at least 1</source>
        <translation>&quot;crop&quot; must be X,Y,W,H: whole numbers, W and H at least 1</translation>
    </message>
    <message>
        <source>&quot;rotate&quot; must be 0, 90, 180 or 270</source>
        <translation>&quot;rotate&quot; must be 0, 90, 180 or 270</translation>
    </message>
    <message>
        <source>&quot;flip&quot; must be none, horizontal, vertical or both</source>
        <translation>&quot;flip&quot; must be none, horizontal, vertical or both</translation>
    </message>
    <message>
        <source>&quot;scale&quot; must be W x H or fit W x H, each 1 to 8192</source>
        <translation>&quot;scale&quot; must be W x H or fit W x H, each 1 to 8192</translation>
    </message>
    <message>
        <source>&quot;filter&quot; must be nearest, area or bilinear</source>
        <translation>&quot;filter&quot; must be nearest, area or bilinear</translation>
    </message>
    <message>
        <source>&quot;invert&quot; must be yes or no</source>
        <translation>&quot;invert&quot; must be yes or no</translation>
    </message>
    <message>
        <source>&quot;threshold&quot; must be a whole number 0 to 255</source>
        <translation>&quot;threshold&quot; must be a whole number 0 to 255</translation>
    </message>
    <message>
        <source>&quot;text&quot; must not be empty</source>
        <translation>&quot;text&quot; must not be empty</translation>
    </message>
    <message>
        <source>&quot;size&quot; must be a whole number of pixels, 1 to 1024</source>
        <translation>&quot;size&quot; must be a whole number of pixels, 1 to 1024</translation>
    </message>
    <message>
        <source>&quot;color&quot; must be #RRGGBB</source>
        <translation>&quot;color&quot; must be #RRGGBB</translation>
    </message>
    <message>
        <source>&quot;background&quot; must be #RRGGBB or transparent</source>
        <translation>&quot;background&quot; must be #RRGGBB or transparent</translation>
    </message>
    <message>
        <source>&quot;align&quot; must be left, center or right</source>
        <translation>&quot;align&quot; must be left, center or right</translation>
    </message>
    <message>
        <source>&quot;antialias&quot; must be on or off</source>
        <translation>&quot;antialias&quot; must be on or off</translation>
    </message>
</context>
<context>
    <name>FieldExchange</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Please enter an integer.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
    <message>
        <source>Please enter a positive integer.</source>
        <translation>Please enter a positive integer.</translation>
    </message>
</context>
<context>
    <name>ImportFailure</name>
    <message>
        <source>cannot be opened</source>
        <translation>cannot be opened</translation>
    </message>
    <message>
        <source>unsupported format (not a bitmap or PNG)</source>
        <translation>unsupported format (not a bitmap or PNG)</translation>
    </message>
    <message>
        <source>too large (more than %1 pixels wide or high)</source>
        <translation>too large (more than %1 pixels wide or high)</translation>
    </message>
    <message>
        <source>truncated or damaged</source>
        <translation>truncated or damaged</translation>
    </message>
    <message>
        <source>1 picture was not imported:</source>
        <translation>1 picture was not imported:</translation>
    </message>
    <message>
        <source>%1 pictures were not imported:</source>
        <translation>%1 pictures were not imported:</translation>
    </message>
    <message>
        <source>… and %1 more</source>
        <translation>… and %1 more</translation>
    </message>
</context>
<context>
    <name>LcdPreview</name>
    <message>
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Draw the pictures as they were loaded</source>
        <translation>Draw the pictures as they were loaded</translation>
    </message>
    <message>
        <source>As on the panel</source>
        <translation>As on the panel</translation>
    </message>
    <message>
        <source>Draw the pictures as the module shows them with the active model</source>
        <translation>Draw the pictures as the module shows them with the active model</translation>
    </message>
</context>
<context>
    <name>LcdSettingsDialog</name>
    <message>
        <source>LCD SETTING</source>
        <translation>LCD SETTING</translation>
    </message>
    <message>
        <source>读设置</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>写设置</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Read the settings stored in the module</source>
        <translation>Read the settings stored in the module</translation>
    </message>
    <message>
        <source>Write these settings into the module</source>
        <translation>Write these settings into the module</translation>
    </message>
    <message>
        <source>Close the dialog</source>
        <translation>Close the dialog</translation>
    </message>
    <message>
        <source>从LCD模块读出设置数据</source>
        <translation>Read the settings from the LCD module</translation>
    </message>
    <message>
        <source>把设置数据写到LCD模块</source>
        <translation>Write the settings to the LCD module</translation>
    </message>
    <message>
        <source>写LCD设置数据: 成功</source>
        <translation>Writing the LCD settings: done</translation>
    </message>
    <message>
        <source>写LCD设置数据: 失败</source>
        <translation>Writing the LCD settings: failed</translation>
    </message>
    <message>
        <source>写LCD设置数据</source>
        <translation>Writing the LCD settings</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>读LCD设置数据: 失败</source>
        <translation>Reading the LCD settings: failed</translation>
    </message>
    <message>
        <source>读LCD设置数据</source>
        <translation>Reading the LCD settings</translation>
    </message>
    <message>
        <source>读LCD设置数据: 成功</source>
        <translation>Reading the LCD settings: done</translation>
    </message>
</context>
<context>
    <name>LcdSettingsForm</name>
    <message>
        <source>RS485设备地址</source>
        <translation>RS485 device address</translation>
    </message>
    <message>
        <source>串口波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>背光亮度</source>
        <translation>Backlight</translation>
    </message>
    <message>
        <source>前景色</source>
        <translation>Foreground colour</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background colour</translation>
    </message>
</context>
<context>
    <name>ListChange</name>
    <message>
        <source>Switch model</source>
        <translation>Switch model</translation>
    </message>
    <message>
        <source>Sort by name</source>
        <translation>Sort by name</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Remove all</source>
        <translation>Remove all</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>Show picture</source>
        <translation>Show picture</translation>
    </message>
    <message>
        <source>Hide picture</source>
        <translation>Hide picture</translation>
    </message>
    <message>
        <source>Import pictures</source>
        <translation>Import pictures</translation>
    </message>
    <message>
        <source>Move picture</source>
        <translation>Move picture</translation>
    </message>
    <message>
        <source>Picture operations</source>
        <translation>Picture operations</translation>
    </message>
    <message>
        <source>Add text</source>
        <translation>Add text</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>关于 Pictor(&amp;A)...</source>
        <translation>&amp;About Pictor...</translation>
    </message>
    <message>
        <source>取消下载</source>
        <translation>Cancel Download</translation>
    </message>
    <message>
        <source>图标</source>
        <translation>Icon</translation>
    </message>
    <message>
        <source>列表</source>
        <translation>List</translation>
    </message>
    <message>
        <source>详细信息</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>显示方式</source>
        <translation>View style</translation>
    </message>
    <message>
        <source>导入BMP文件</source>
        <translation>Import Pictures</translation>
    </message>
    <message>
        <source>删除BMP文件</source>
        <translation>Delete Picture</translation>
    </message>
    <message>
        <source>全部删除</source>
        <translation>Remove All</translation>
    </message>
    <message>
        <source>按名称排序</source>
        <translation>Sort By Name</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>编辑图片</source>
        <translation>Edit Item</translation>
    </message>
    <message>
        <source>BMP转档</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>存储布局</source>
        <translation>Memory map</translation>
    </message>
    <message>
        <source>刷新显示</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>图片索引</source>
        <translation>Picture index</translation>
    </message>
    <message>
        <source>图片宽度</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>图片高度</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>X坐标</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y坐标</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>模拟LCD屏幕</source>
        <translation>Simulated LCD</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>从bin文件查看图片</source>
        <translation>View icon from binary file</translation>
    </message>
    <message>
        <source>从bin文件查看</source>
        <translation>View from binary</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>打开串口</source>
        <translation>Open Port</translation>
    </message>
    <message>
        <source>关闭串口</source>
        <translation>Close Port</translation>
    </message>
    <message>
        <source>连接设备</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>串口号</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Flash 容量</source>
        <translation>Flash size</translation>
    </message>
    <message>
        <source>资源下载</source>
        <translation>Resource Download</translation>
    </message>
    <message>
        <source>下载bin档</source>
        <translation>Download Image</translation>
    </message>
    <message>
        <source>LCD设置</source>
        <translation>LCD Settings</translation>
    </message>
    <message>
        <source>语言(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>&amp;New project</source>
        <translation>&amp;New project</translation>
    </message>
    <message>
        <source>Start an empty picture list (asks to save a changed one)</source>
        <translation>Start an empty picture list (asks to save a changed one)</translation>
    </message>
    <message>
        <source>&amp;Open project...</source>
        <translation>&amp;Open project...</translation>
    </message>
    <message>
        <source>Open a project file: its pictures, positions, model and output folder</source>
        <translation>Open a project file: its pictures, positions, model and output folder</translation>
    </message>
    <message>
        <source>&amp;Save project</source>
        <translation>&amp;Save project</translation>
    </message>
    <message>
        <source>Save the picture list as a project file</source>
        <translation>Save the picture list as a project file</translation>
    </message>
    <message>
        <source>Save project &amp;as...</source>
        <translation>Save project &amp;as...</translation>
    </message>
    <message>
        <source>Save the picture list as a new project file</source>
        <translation>Save the picture list as a new project file</translation>
    </message>
    <message>
        <source>&amp;Import pictures...</source>
        <translation>&amp;Import pictures...</translation>
    </message>
    <message>
        <source>Add picture files (BMP, PNG, ICO) to the end of the list</source>
        <translation>Add picture files (BMP, PNG, ICO) to the end of the list</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>&amp;Convert</translation>
    </message>
    <message>
        <source>Sort the list by name and write Icon.bin (or Icon.c) and Icon.h into the output folder</source>
        <translation>Sort the list by name and write Icon.bin (or Icon.c) and Icon.h into the output folder</translation>
    </message>
    <message>
        <source>&amp;Memory map</source>
        <translation>&amp;Memory map</translation>
    </message>
    <message>
        <source>Where the pictures of the last conversion sit in Icon.bin, and how full the flash is</source>
        <translation>Where the pictures of the last conversion sit in Icon.bin, and how full the flash is</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>Close the window</source>
        <translation>Close the window</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>Remove &amp;all</source>
        <translation>Remove &amp;all</translation>
    </message>
    <message>
        <source>Remove every picture from the list</source>
        <translation>Remove every picture from the list</translation>
    </message>
    <message>
        <source>&amp;Sort by name</source>
        <translation>&amp;Sort by name</translation>
    </message>
    <message>
        <source>Sort the list by picture name</source>
        <translation>Sort the list by picture name</translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation>Move &amp;up</translation>
    </message>
    <message>
        <source>Move the current picture one place up</source>
        <translation>Move the current picture one place up</translation>
    </message>
    <message>
        <source>Move do&amp;wn</source>
        <translation>Move do&amp;wn</translation>
    </message>
    <message>
        <source>Move the current picture one place down</source>
        <translation>Move the current picture one place down</translation>
    </message>
    <message>
        <source>&amp;Edit in editor</source>
        <translation>&amp;Edit in editor</translation>
    </message>
    <message>
        <source>Open the current picture in the editor chosen in the configuration</source>
        <translation>Open the current picture in the editor chosen in the configuration</translation>
    </message>
    <message>
        <source>&amp;Open port</source>
        <translation>&amp;Open port</translation>
    </message>
    <message>
        <source>Open the serial port shown in the port box</source>
        <translation>Open the serial port shown in the port box</translation>
    </message>
    <message>
        <source>C&amp;lose port</source>
        <translation>C&amp;lose port</translation>
    </message>
    <message>
        <source>Close the serial port</source>
        <translation>Close the serial port</translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation>&amp;Connect</translation>
    </message>
    <message>
        <source>Ask the module on the open port for its flash type</source>
        <translation>Ask the module on the open port for its flash type</translation>
    </message>
    <message>
        <source>Download .&amp;bin...</source>
        <translation>Download .&amp;bin...</translation>
    </message>
    <message>
        <source>Write a .bin file into the module&apos;s flash</source>
        <translation>Write a .bin file into the module&apos;s flash</translation>
    </message>
    <message>
        <source>&amp;Resource download...</source>
        <translation>&amp;Resource download...</translation>
    </message>
    <message>
        <source>Write a resource image and optionally the LCD settings into the module</source>
        <translation>Write a resource image and optionally the LCD settings into the module</translation>
    </message>
    <message>
        <source>LCD &amp;settings...</source>
        <translation>LCD &amp;settings...</translation>
    </message>
    <message>
        <source>Read or write the module&apos;s LCD settings</source>
        <translation>Read or write the module&apos;s LCD settings</translation>
    </message>
    <message>
        <source>C&amp;ancel download</source>
        <translation>C&amp;ancel download</translation>
    </message>
    <message>
        <source>Stop the running download</source>
        <translation>Stop the running download</translation>
    </message>
    <message>
        <source>&amp;Configure models...</source>
        <translation>&amp;Configure models...</translation>
    </message>
    <message>
        <source>Edit, create or delete model profiles and choose the active one</source>
        <translation>Edit, create or delete model profiles and choose the active one</translation>
    </message>
    <message>
        <source>Apply the X and Y fields to the current picture</source>
        <translation>Apply the X and Y fields to the current picture</translation>
    </message>
    <message>
        <source>Choose the .bin file the viewer reads</source>
        <translation>Choose the .bin file the viewer reads</translation>
    </message>
    <message>
        <source>Pick a picture of the .bin file&apos;s table and draw it onto the preview at X, Y</source>
        <translation>Pick a picture of the .bin file&apos;s table and draw it onto the preview at X, Y</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Open &amp;recent</source>
        <translation>Open &amp;recent</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Device</source>
        <translation>&amp;Device</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Icons</source>
        <translation>&amp;Icons</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;List</translation>
    </message>
    <message>
        <source>&amp;Report</source>
        <translation>&amp;Report</translation>
    </message>
    <message>
        <source>Preview &amp;1x (real pixel size)</source>
        <translation>Preview &amp;1x (real pixel size)</translation>
    </message>
    <message>
        <source>Preview &amp;%1x</source>
        <translation>Preview &amp;%1x</translation>
    </message>
    <message>
        <source>As on the panel</source>
        <translation>As on the panel</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>&amp;Model</source>
        <translation>&amp;Model</translation>
    </message>
    <message>
        <source>型号</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>The active model: choosing one applies it at once</source>
        <translation>The active model: choosing one applies it at once</translation>
    </message>
    <message>
        <source>A download is running. Cancel it and quit?</source>
        <translation>A download is running. Cancel it and quit?</translation>
    </message>
    <message>
        <source>Model: %1</source>
        <translation>Model: %1</translation>
    </message>
    <message>
        <source>Port %1: %2</source>
        <translation>Port %1: %2</translation>
    </message>
    <message>
        <source>, current %1 x %2</source>
        <translation>, current %1 x %2</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>The model cannot be made active: it has no entry in the settings file.</source>
        <translation>The model cannot be made active: it has no entry in the settings file.</translation>
    </message>
    <message>
        <source>Remove the picture from the list?</source>
        <translation>Remove the picture from the list?</translation>
    </message>
    <message>
        <source>Remove %1 pictures from the list?</source>
        <translation>Remove %1 pictures from the list?</translation>
    </message>
    <message>
        <source>Folder: %1</source>
        <translation>Folder: %1</translation>
    </message>
    <message>
        <source>Files: %1, %2</source>
        <translation>Files: %1, %2</translation>
    </message>
    <message>
        <source>%1: %2 bytes</source>
        <translation>%1: %2 bytes</translation>
    </message>
    <message>
        <source>%1 % of the %2 flash (%3 bytes)</source>
        <translation>%1 % of the %2 flash (%3 bytes)</translation>
    </message>
    <message>
        <source>No such device: %1.</source>
        <translation>No such device: %1.</translation>
    </message>
    <message>
        <source>%1 is busy: another program has it open.</source>
        <translation>%1 is busy: another program has it open.</translation>
    </message>
    <message>
        <source>Permission denied on %1: add your user to the dialout group (sudo usermod -aG dialout $USER) and log in again.</source>
        <translation>Permission denied on %1: add your user to the dialout group (sudo usermod -aG dialout $USER) and log in again.</translation>
    </message>
    <message>
        <source>The baud rate %1 is not usable on %2.</source>
        <translation>The baud rate %1 is not usable on %2.</translation>
    </message>
    <message>
        <source>串口无法打开!</source>
        <translation>The serial port cannot be opened!</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>The serial port is closed: open it first (&quot;打开串口&quot;).</source>
        <translation>The serial port is closed: open it first (&quot;打开串口&quot;).</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>成功连接</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>已连接</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>Connection failed</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>Choose the .bin file to download</source>
        <translation>Choose the .bin file to download</translation>
    </message>
    <message>
        <source>binary File (*.bin);;All File(*)</source>
        <translation>binary File (*.bin);;All File(*)</translation>
    </message>
    <message>
        <source>连接LCM 失败</source>
        <translation>Connecting to the LCD module failed</translation>
    </message>
    <message>
        <source>it does not exist</source>
        <translation>it does not exist</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>it is not executable</source>
        <translation>it is not executable</translation>
    </message>
    <message>
        <source>the system refused to start it</source>
        <translation>the system refused to start it</translation>
    </message>
    <message>
        <source>The editor %1 could not be started: %2.</source>
        <translation>The editor %1 could not be started: %2.</translation>
    </message>
    <message>
        <source>Import pictures</source>
        <translation>Import pictures</translation>
    </message>
    <message>
        <source>Pictures (*.bmp *.png *.ico);;Bitmap file(*.bmp);;PNG file(*.png);;Icon file(*.ico);;All file(*)</source>
        <translation>Pictures (*.bmp *.png *.ico);;Bitmap file(*.bmp);;PNG file(*.png);;Icon file(*.ico);;All file(*)</translation>
    </message>
    <message>
        <source>没有正常导入bmp</source>
        <translation>No pictures were imported</translation>
    </message>
    <message>
        <source>Importing pictures…</source>
        <translation>Importing pictures…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Importing pictures… %1 of %2</source>
        <translation>Importing pictures… %1 of %2</translation>
    </message>
    <message>
        <source>没有选择执行的应用...</source>
        <translation>No editor has been chosen in the configuration.</translation>
    </message>
    <message>
        <source>请选择编辑对象...</source>
        <translation>Choose the picture to edit first.</translation>
    </message>
    <message>
        <source>只支持二进制文件</source>
        <translation>Only binary output (Icon.bin) can be viewed</translation>
    </message>
    <message>
        <source>Choose the .bin file to view</source>
        <translation>Choose the .bin file to view</translation>
    </message>
    <message>
        <source>Binary file(*.bin)</source>
        <translation>Binary file(*.bin)</translation>
    </message>
    <message>
        <source>Pictor project (*%1);;All files (*)</source>
        <translation>Pictor project (*%1);;All files (*)</translation>
    </message>
    <message>
        <source>The picture list has changed. Save it?</source>
        <translation>The picture list has changed. Save it?</translation>
    </message>
    <message>
        <source>The project %1 has changed. Save it?</source>
        <translation>The project %1 has changed. Save it?</translation>
    </message>
    <message>
        <source>Open project</source>
        <translation>Open project</translation>
    </message>
    <message>
        <source>The project&apos;s model &quot;%1&quot; is not in the settings file; the model &quot;%2&quot; stays active.</source>
        <translation>The project&apos;s model &quot;%1&quot; is not in the settings file; the model &quot;%2&quot; stays active.</translation>
    </message>
    <message>
        <source>These pictures of the project were not found and are left out of the list (saving the project removes them from it):</source>
        <translation>These pictures of the project were not found and are left out of the list (saving the project removes them from it):</translation>
    </message>
    <message>
        <source>… and %1 more</source>
        <translation>… and %1 more</translation>
    </message>
    <message>
        <source>Save project as</source>
        <translation>Save project as</translation>
    </message>
    <message>
        <source>The project was not saved: %1</source>
        <translation>The project was not saved: %1</translation>
    </message>
    <message>
        <source> 请选择图片数据文件(*.bin)</source>
        <translation>Choose a picture data file (*.bin)</translation>
    </message>
    <message>
        <source>文件 %1不存在..</source>
        <translation>The file %1 does not exist.</translation>
    </message>
    <message>
        <source>%1 is too large for a resource image.</source>
        <translation>%1 is too large for a resource image.</translation>
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation>%1 could not be read.</translation>
    </message>
    <message>
        <source>%1 holds no pictures: it is shorter than its 2048-byte table or the table is empty.</source>
        <translation>%1 holds no pictures: it is shorter than its 2048-byte table or the table is empty.</translation>
    </message>
    <message>
        <source>only picture 0</source>
        <translation>only picture 0</translation>
    </message>
    <message>
        <source>pictures 0 to %1</source>
        <translation>pictures 0 to %1</translation>
    </message>
    <message>
        <source>There is no picture %1 in %2: its table lists %3.</source>
        <translation>There is no picture %1 in %2: its table lists %3.</translation>
    </message>
    <message>
        <source>Picture %1 of %2 cannot be shown with the active model: %3.</source>
        <translation>Picture %1 of %2 cannot be shown with the active model: %3.</translation>
    </message>
    <message>
        <source>&amp;Erase only the image&apos;s blocks</source>
        <translation>&amp;Erase only the image&apos;s blocks</translation>
    </message>
    <message>
        <source>Erase only the 64 KiB blocks the image occupies, not the flash up to its end; the flash beyond the image keeps its bytes, which the image&apos;s index table never points to</source>
        <translation>Erase only the 64 KiB blocks the image occupies, not the flash up to its end; the flash beyond the image keeps its bytes, which the image&apos;s index table never points to</translation>
    </message>
    <message>
        <source>Download c&amp;hanges only</source>
        <translation>Download c&amp;hanges only</translation>
    </message>
    <message>
        <source>Erase and write only the 64 KiB blocks that differ from the image last downloaded to this port; the module is checked first, and gets the whole image when it holds something else</source>
        <translation>Erase and write only the 64 KiB blocks that differ from the image last downloaded to this port; the module is checked first, and gets the whole image when it holds something else</translation>
    </message>
    <message>
        <source>A&amp;uto-download on change</source>
        <translation>A&amp;uto-download on change</translation>
    </message>
    <message>
        <source>After a picture file or the list changes, convert and download the changes to the open port; the result shows in the status bar</source>
        <translation>After a picture file or the list changes, convert and download the changes to the open port; the result shows in the status bar</translation>
    </message>
    <message>
        <source>Auto-download: %1 of %2 blocks sent in %3 s</source>
        <translation>Auto-download: %1 of %2 blocks sent in %3 s</translation>
    </message>
    <message>
        <source>Auto-download: whole image, %1 blocks sent in %2 s</source>
        <translation>Auto-download: whole image, %1 blocks sent in %2 s</translation>
    </message>
    <message>
        <source>Auto-download cancelled; the next one sends the whole image</source>
        <translation>Auto-download cancelled; the next one sends the whole image</translation>
    </message>
    <message>
        <source>Auto-download failed: %1; the next one sends the whole image</source>
        <translation>Auto-download failed: %1; the next one sends the whole image</translation>
    </message>
    <message>
        <source>Auto-download: waiting for a change of the list or a picture</source>
        <translation>Auto-download: waiting for a change of the list or a picture</translation>
    </message>
    <message>
        <source>Auto-download: the serial port is closed; nothing was sent</source>
        <translation>Auto-download: the serial port is closed; nothing was sent</translation>
    </message>
    <message>
        <source>Auto-download: the conversion failed (%1); the module was left as it was</source>
        <translation>Auto-download: the conversion failed (%1); the module was left as it was</translation>
    </message>
    <message>
        <source>Auto-download: downloading...</source>
        <translation>Auto-download: downloading...</translation>
    </message>
    <message>
        <source>The connection to the module was lost: the device %1 was removed or switched off, and its port has been closed. Connect the module, open the port and connect again.</source>
        <translation>The connection to the module was lost: the device %1 was removed or switched off, and its port has been closed. Connect the module, open the port and connect again.</translation>
    </message>
    <message>
        <source>The module did not answer for %1 ms. Check its power and cable, then connect again.</source>
        <translation>The module did not answer for %1 ms. Check its power and cable, then connect again.</translation>
    </message>
    <message>
        <source>Remove the selected pictures from the list (Undo brings them back)</source>
        <translation>Remove the selected pictures from the list (Undo brings them back)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Undo %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Redo %1</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>open</source>
        <translation>open</translation>
    </message>
    <message>
        <source>closed</source>
        <translation>closed</translation>
    </message>
    <message>
        <source>1 picture</source>
        <translation>1 picture</translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation>%1 pictures</translation>
    </message>
    <message>
        <source>%1 (%2 x %3) is larger than the panel.</source>
        <translation>%1 (%2 x %3) is larger than the panel.</translation>
    </message>
    <message>
        <source>%1 lies partly outside the panel at %2, %3.</source>
        <translation>%1 lies partly outside the panel at %2, %3.</translation>
    </message>
    <message>
        <source>Converted, but Icon.bin does not fit the flash.</source>
        <translation>Converted, but Icon.bin does not fit the flash.</translation>
    </message>
    <message>
        <source>Converted; some pictures need attention.</source>
        <translation>Converted; some pictures need attention.</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>Open folder</translation>
    </message>
    <message>
        <source>Show memory map</source>
        <translation>Show memory map</translation>
    </message>
    <message>
        <source>(%1 bytes in %2 s, %3 KiB/s)</source>
        <translation>(%1 bytes in %2 s, %3 KiB/s)</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>&amp;Thumbnail size</source>
        <translation>&amp;Thumbnail size</translation>
    </message>
    <message>
        <source>&amp;Small</source>
        <translation>&amp;Small</translation>
    </message>
    <message>
        <source>&amp;Medium</source>
        <translation>&amp;Medium</translation>
    </message>
    <message>
        <source>&amp;Large</source>
        <translation>&amp;Large</translation>
    </message>
    <message>
        <source>%1 of the chosen files are in the list already:
%2

Add them again (Yes) or skip them (No)?</source>
        <translation>%1 of the chosen files are in the list already:
%2

Add them again (Yes) or skip them (No)?</translation>
    </message>
    <message>
        <source>At %1, %2 the picture would lie entirely outside the %3 x %4 panel; it stays at %5, %6.</source>
        <translation>At %1, %2 the picture would lie entirely outside the %3 x %4 panel; it stays at %5, %6.</translation>
    </message>
    <message>
        <source>%1 of %2 blocks changed; a whole download would take about %3 s</source>
        <translation>%1 of %2 blocks changed; a whole download would take about %3 s</translation>
    </message>
    <message>
        <source>&amp;Picture...</source>
        <translation>&amp;Picture...</translation>
    </message>
    <message>
        <source>Crop, rotate, flip, scale or invert the current picture (and the selected ones); the picture files stay as they are</source>
        <translation>Crop, rotate, flip, scale or invert the current picture (and the selected ones); the picture files stay as they are</translation>
    </message>
    <message>
        <source>Add &amp;text...</source>
        <translation>Add &amp;text...</translation>
    </message>
    <message>
        <source>Add a picture drawn from a text with a font</source>
        <translation>Add a picture drawn from a text with a font</translation>
    </message>
    <message>
        <source>Add &amp;glyphs...</source>
        <translation>Add &amp;glyphs...</translation>
    </message>
    <message>
        <source>Add one picture per character of a string (digits for a clock, say), all of one height and baseline</source>
        <translation>Add one picture per character of a string (digits for a clock, say), all of one height and baseline</translation>
    </message>
    <message>
        <source>This picture is drawn from a text: it has no picture file to edit.</source>
        <translation>This picture is drawn from a text: it has no picture file to edit.</translation>
    </message>
</context>
<context>
    <name>MemoryMapDialog</name>
    <message>
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Source file</source>
        <translation>Source file</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>Stored size</source>
        <translation>Stored size</translation>
    </message>
    <message>
        <source>Padding after</source>
        <translation>Padding after</translation>
    </message>
    <message>
        <source>First sector</source>
        <translation>First sector</translation>
    </message>
    <message>
        <source>Last sector</source>
        <translation>Last sector</translation>
    </message>
    <message>
        <source>Crosses sector</source>
        <translation>Crosses sector</translation>
    </message>
    <message>
        <source>No conversion yet: the map shows where the pictures of the last conversion sit in Icon.bin.</source>
        <translation>No conversion yet: the map shows where the pictures of the last conversion sit in Icon.bin.</translation>
    </message>
    <message>
        <source>The last conversion wrote C source (Icon.c), which has no binary layout: there is no memory map.</source>
        <translation>The last conversion wrote C source (Icon.c), which has no binary layout: there is no memory map.</translation>
    </message>
    <message>
        <source>Used %1, </source>
        <translation>Used %1, </translation>
    </message>
    <message>
        <source>padding %1</source>
        <translation>padding %1</translation>
    </message>
    <message>
        <source>the image is %1 larger than the %2; it does not fit.</source>
        <translation>the image is %1 larger than the %2; it does not fit.</translation>
    </message>
    <message>
        <source>free %1 of the %2.</source>
        <translation>free %1 of the %2.</translation>
    </message>
    <message>
        <source>flash</source>
        <translation>flash</translation>
    </message>
    <message>
        <source>%1 flash</source>
        <translation>%1 flash</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>Memory map — Pictor</source>
        <translation>Memory map — Pictor</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>no</source>
        <translation>no</translation>
    </message>
</context>
<context>
    <name>MessageBar</name>
    <message>
        <source>Close this message</source>
        <translation>Close this message</translation>
    </message>
</context>
<context>
    <name>ModelNameDialog</name>
    <message>
        <source>Input the new model name</source>
        <translation>Input the new model name</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Use the name</source>
        <translation>Use the name</translation>
    </message>
    <message>
        <source>Close without a name</source>
        <translation>Close without a name</translation>
    </message>
    <message>
        <source>请选择正确文件!</source>
        <translation>Choose a valid file!</translation>
    </message>
    <message>
        <source>Model name — Pictor</source>
        <translation>Model name — Pictor</translation>
    </message>
    <message>
        <source>Choose a file</source>
        <translation>Choose a file</translation>
    </message>
</context>
<context>
    <name>PictureListModel</name>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>排列序号</source>
        <translation>Order</translation>
    </message>
    <message>
        <source>Text &quot;%1&quot; in %2</source>
        <translation>Text &quot;%1&quot; in %2</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
</context>
<context>
    <name>PictureOperationsDialog</name>
    <message>
        <source>crop %1</source>
        <translation>crop %1</translation>
    </message>
    <message>
        <source>rotate %1</source>
        <translation>rotate %1</translation>
    </message>
    <message>
        <source>flip %1</source>
        <translation>flip %1</translation>
    </message>
    <message>
        <source>scale %1</source>
        <translation>scale %1</translation>
    </message>
    <message>
        <source>invert</source>
        <translation>invert</translation>
    </message>
    <message>
        <source>threshold %1</source>
        <translation>threshold %1</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Crop (in source pixels)</source>
        <translation>Crop (in source pixels)</translation>
    </message>
    <message>
        <source>Rotate clockwise</source>
        <translation>Rotate clockwise</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Horizontal (left and right)</source>
        <translation>Horizontal (left and right)</translation>
    </message>
    <message>
        <source>Vertical (top and bottom)</source>
        <translation>Vertical (top and bottom)</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Both</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>No scaling</source>
        <translation>No scaling</translation>
    </message>
    <message>
        <source>To W x H</source>
        <translation>To W x H</translation>
    </message>
    <message>
        <source>To fit inside W x H, keeping the shape</source>
        <translation>To fit inside W x H, keeping the shape</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>Automatic (nearest for whole factors, else area)</source>
        <translation>Automatic (nearest for whole factors, else area)</translation>
    </message>
    <message>
        <source>Nearest (pixel art)</source>
        <translation>Nearest (pixel art)</translation>
    </message>
    <message>
        <source>Area average (photos)</source>
        <translation>Area average (photos)</translation>
    </message>
    <message>
        <source>Bilinear (photos)</source>
        <translation>Bilinear (photos)</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Invert the colours (alpha kept)</source>
        <translation>Invert the colours (alpha kept)</translation>
    </message>
    <message>
        <source>Own threshold on 1-bit models</source>
        <translation>Own threshold on 1-bit models</translation>
    </message>
    <message>
        <source>The operations go to all %1 selected pictures; the preview shows the current one.</source>
        <translation>The operations go to all %1 selected pictures; the preview shows the current one.</translation>
    </message>
    <message>
        <source>%1 x %2 pixels, after the operations</source>
        <translation>%1 x %2 pixels, after the operations</translation>
    </message>
    <message>
        <source>The operations do not apply: the crop reaches outside the picture (%1 x %2).</source>
        <translation>The operations do not apply: the crop reaches outside the picture (%1 x %2).</translation>
    </message>
</context>
<context>
    <name>ResourceDownloadDialog</name>
    <message>
        <source>同时下载LCD设置</source>
        <translation>Download the LCD settings too</translation>
    </message>
    <message>
        <source>图片资源下载</source>
        <translation>Picture resource download</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>取消下载</source>
        <translation>Cancel Download</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Choose the resource image (.bin) to download</source>
        <translation>Choose the resource image (.bin) to download</translation>
    </message>
    <message>
        <source>Write the image (and the settings when chosen) into the module</source>
        <translation>Write the image (and the settings when chosen) into the module</translation>
    </message>
    <message>
        <source>Stop the running download</source>
        <translation>Stop the running download</translation>
    </message>
    <message>
        <source>Close the dialog</source>
        <translation>Close the dialog</translation>
    </message>
    <message>
        <source>LCD设置</source>
        <translation>LCD Settings</translation>
    </message>
    <message>
        <source>binary File (*.bin);;All File(*)</source>
        <translation>binary File (*.bin);;All File(*)</translation>
    </message>
    <message>
        <source>Choose the resource image (*.bin) to download first.</source>
        <translation>Choose the resource image (*.bin) to download first.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>资源文件：</source>
        <translation>Resource file:</translation>
    </message>
    <message>
        <source>%1 is a folder. Choose the resource image file (Icon.bin) to download.</source>
        <translation>%1 is a folder. Choose the resource image file (Icon.bin) to download.</translation>
    </message>
    <message>
        <source>Erase only the image&apos;s blocks</source>
        <translation>Erase only the image&apos;s blocks</translation>
    </message>
    <message>
        <source>Download changes only</source>
        <translation>Download changes only</translation>
    </message>
    <message>
        <source>Erase only the 64 KiB blocks the image occupies; the flash beyond the image keeps its bytes</source>
        <translation>Erase only the 64 KiB blocks the image occupies; the flash beyond the image keeps its bytes</translation>
    </message>
    <message>
        <source>Send only the blocks that differ from the image last downloaded to this port (after checking the module)</source>
        <translation>Send only the blocks that differ from the image last downloaded to this port (after checking the module)</translation>
    </message>
</context>
<context>
    <name>ResourceViewer</name>
    <message>
        <source>%1 bytes at %2</source>
        <translation>%1 bytes at %2</translation>
    </message>
    <message>
        <source> (unreadable: %1)</source>
        <translation> (unreadable: %1)</translation>
    </message>
    <message>
        <source>The image stores each picture&apos;s size</source>
        <translation>The image stores each picture&apos;s size</translation>
    </message>
    <message>
        <source>The image stores no sizes: give the picture&apos;s size as it was converted</source>
        <translation>The image stores no sizes: give the picture&apos;s size as it was converted</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>View from binary — Pictor</source>
        <translation>View from binary — Pictor</translation>
    </message>
</context>
<context>
    <name>TextItemDialog</name>
    <message>
        <source>Add text</source>
        <translation>Add text</translation>
    </message>
    <message>
        <source>Add glyphs</source>
        <translation>Add glyphs</translation>
    </message>
    <message>
        <source>Name (its symbol in Icon.h)</source>
        <translation>Name (its symbol in Icon.h)</translation>
    </message>
    <message>
        <source>Name prefix (prefix_&lt;code point&gt;)</source>
        <translation>Name prefix (prefix_&lt;code point&gt;)</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Characters (one picture each)</source>
        <translation>Characters (one picture each)</translation>
    </message>
    <message>
        <source>Choose a font file</source>
        <translation>Choose a font file</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Font</translation>
    </message>
    <message>
        <source> pixels</source>
        <translation> pixels</translation>
    </message>
    <message>
        <source>Size (line height)</source>
        <translation>Size (line height)</translation>
    </message>
    <message>
        <source>Colour...</source>
        <translation>Colour...</translation>
    </message>
    <message>
        <source>Transparent background</source>
        <translation>Transparent background</translation>
    </message>
    <message>
        <source>Background...</source>
        <translation>Background...</translation>
    </message>
    <message>
        <source>Colours</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Centre</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Alignment of the lines</source>
        <translation>Alignment of the lines</translation>
    </message>
    <message>
        <source>Anti-aliasing (off: crisp 1-bit glyphs)</source>
        <translation>Anti-aliasing (off: crisp 1-bit glyphs)</translation>
    </message>
    <message>
        <source>Choose a font</source>
        <translation>Choose a font</translation>
    </message>
    <message>
        <source>Fonts (*.ttf *.ttc *.otf);;All files (*)</source>
        <translation>Fonts (*.ttf *.ttc *.otf);;All files (*)</translation>
    </message>
    <message>
        <source>%1 x %2 pixels</source>
        <translation>%1 x %2 pixels</translation>
    </message>
    <message>
        <source>%1 pictures, %2 pixels high</source>
        <translation>%1 pictures, %2 pixels high</translation>
    </message>
</context>
</TS>
