// Resource ids of the palette dialog (template 200) and its controls.
#pragma once
