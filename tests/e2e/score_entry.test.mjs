// Score entry in a real browser, signed in through the login page: direct entry typed with
// Enter from exam number to score and back for several students, the alerts of a refused
// entry, the class grid filled with the keyboard and saved, and a pasted import.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startServer, openBrowser } from './harness.mjs';

let server;
let b;

before(async () => {
  server = await startServer({ binary: process.env.ZEZIZA_ENTRY_SERVER });
  b = await openBrowser();
});
after(async () => {
  await b?.close();
  await server?.stop();
});

const activeId = () => b.page.evaluate(() => document.activeElement && document.activeElement.id);
const column = (lines) => lines.join('\n') + '\n';

async function signIn(name) {
  const { page } = b;
  await page.goto(server.url + '/');
  await page.waitForFunction(() => document.title === '系统登录');
  await b.settled();
  await page.fill('#usernameedit', name);
  await page.fill('#passwordedit', 'pw');
  await b.submitBy('#signinbutton');
  assert.equal(await page.title(), '成绩录入');
}

// Types the second part of the exam number, Enter, the score, Enter: the score is recorded.
async function enterScore(second, score) {
  const { page } = b;
  await page.keyboard.type(second);
  await page.keyboard.press('Enter');
  assert.equal(await activeId(), 'directscoreedit');
  await page.keyboard.type(score);
  await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
  await b.settled();
}

async function loadClass(subject) {
  const { page } = b;
  await page.selectOption('#gradebox', { label: '七年级' });
  await page.selectOption('#classbox', { label: '一班' });
  await page.selectOption('#subjectbox', { label: subject });
  await b.submitBy('#loadbutton');
}

// 取消 frees the lists of a loaded class.
async function loadClassAfterCancel(subject) {
  await b.submitBy('#cancelbutton');
  await loadClass(subject);
}

test('direct entry with the Enter key, student after student', async () => {
  const { page, dialogs } = b;
  await signIn('clerk');
  assert.equal(await activeId(), 'directnumberedit');  // the page opens ready for the first number
  assert.equal(await page.textContent('#usercaption'), 'clerk[成绩录入员]');
  await page.selectOption('#directsubjectbox', { label: '数学' });
  await page.fill('#numberprefixedit', '80');
  await page.click('#directnumberedit');
  for (const [second, score] of [['1', '85'], ['2', '90.5'], ['3', '77']]) {
    await enterScore(second, score);
    assert.deepEqual(dialogs, []);
    assert.equal(await activeId(), 'directnumberedit');
    assert.equal(await page.inputValue('#lastnumberedit'), '80' + second);
    assert.equal(await page.inputValue('#lastscoreedit'), score);
    assert.equal(await page.inputValue('#numberprefixedit'), '80');
  }
  assert.equal(await page.inputValue('#lastnameedit'), '王五');

  await enterScore('9', '60');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '考生不存在,请核对后再试！' });
  // After a refusal the focus is back in the number box, ready to type it again.
  assert.equal(await activeId(), 'directnumberedit');
  await page.fill('#directnumberedit', '');
  await enterScore('1', '99');
  assert.deepEqual(dialogs.pop(), {
    type: 'alert', message: '该科目成绩已存在，您没有修改成绩的权限，请用其它身份登录',
  });
  assert.equal(await activeId(), 'directnumberedit');

  // Ticked, the number advances and only the score is left to type.
  await page.check('#autoincrementbox');
  await page.click('#directnumberedit');
  await enterScore('4', '66');
  assert.equal(await page.inputValue('#directnumberedit'), '5');
  assert.equal(await activeId(), 'directscoreedit');
  assert.deepEqual(dialogs, []);
});

test('class grid filled with the keyboard and saved', async () => {
  const { page, dialogs } = b;
  await b.submitBy('#gridmodelink');
  assert.equal(await page.title(), '表格录入');
  await loadClass('数学');
  // The clerk sees the stored scores locked.
  assert.equal(await page.inputValue('#scorebox2'), '90.5');
  assert.ok(await page.isDisabled('#scorebox2'));

  await loadClassAfterCancel('语文');
  assert.match(await page.textContent('#loadedcaption'), /中心校区七年级一班语文中共有4条符合条件的记录/);
  await page.click('#scorebox1');
  for (const score of ['81', '82', '83', '84']) {
    await page.keyboard.type(score);
    await page.keyboard.press('Enter');
  }
  assert.equal(await activeId(), 'savebutton');
  await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
  await b.settled();
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '已保存：写入4个成绩，删除0个，未变0个' });
  assert.deepEqual(dialogs, []);
  // Still loaded, 保存成绩 stays on for a correction.
  assert.equal(await page.isDisabled('#savebutton'), false);

  await loadClassAfterCancel('语文');
  assert.equal(await page.inputValue('#scorebox3'), '83');
  assert.ok(await page.isDisabled('#scorebox3'));
});

test('a supervisor pastes two columns on the import page', async () => {
  const { page, dialogs } = b;
  await b.submitBy('#backlink');
  await b.submitBy('#importmodelink');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '您没有权限进行此项操作' });
  await b.submitBy('#signoutlink');
  assert.equal(await page.title(), '系统登录');

  await signIn('boss');
  await b.submitBy('#importmodelink');
  assert.equal(await page.title(), '批量导入成绩');
  await page.selectOption('#subjectbox', { label: '英语' });
  await page.fill('#numbersmemo', column(['801', '802', '803']));
  await page.fill('#scoresmemo', column(['70', '8O', '90']));
  await b.submitBy('#importbutton');
  assert.deepEqual(dialogs.pop(), {
    type: 'alert', message: '分数值非法，操作失败  |2“8O”行非法，请输入数字，如 85 或 85.5',
  });
  // Full-width digits, as a Chinese input method gives them, and a trailing 分 are read.
  await page.fill('#scoresmemo', column(['70', '８０分', '90']));
  await b.submitBy('#importbutton');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '操作成功！写入3个成绩，删除0个，未变0个' });
  assert.equal(await page.inputValue('#scoresmemo'), '');
  assert.equal(await page.inputValue('#numbersmemo'), '801\n802\n803');

  await b.submitBy('#backlink');
  await b.submitBy('#gridmodelink');
  await loadClass('英语');
  assert.deepEqual(
    await Promise.all([1, 2, 3, 4].map((n) => page.inputValue('#scorebox' + n))),
    ['70', '80', '90', '']);
  assert.deepEqual(dialogs, []);
});

// Back to an older page, then typing: the older page is replaced by the current one before
// anything can be typed into it, and a reload shows the current page without a prompt.
test('back and reload never drop a typed score', async () => {
  const { page, dialogs } = b;
  await signIn('boss');
  await page.selectOption('#directsubjectbox', { label: '英语' });
  await page.fill('#numberprefixedit', '80');
  await page.click('#directnumberedit');
  await enterScore('2', '70');
  assert.equal(await page.inputValue('#lastscoreedit'), '70');
  await b.submitBy('#gridmodelink');
  assert.equal(await page.title(), '表格录入');
  await page.goBack();
  await page.waitForFunction(() => document.title === '表格录入');
  await b.settled();
  await page.reload();
  await page.waitForFunction(() => document.title === '表格录入');
  await b.settled();
  assert.deepEqual(dialogs, []);
  // Back on the entry page through its own link, the next score is saved.
  await b.submitBy('#backlink');
  assert.equal(await page.title(), '成绩录入');
  await page.selectOption('#directsubjectbox', { label: '英语' });
  await page.fill('#numberprefixedit', '80');
  await page.click('#directnumberedit');
  await enterScore('3', '71');
  assert.deepEqual(dialogs, []);
  assert.equal(await page.inputValue('#lastnumberedit'), '803');
  assert.equal(await page.inputValue('#lastscoreedit'), '71');
});

test('a block of several subjects pasted from a spreadsheet', async () => {
  const { page, dialogs } = b;
  await signIn('boss');
  await b.submitBy('#importmodelink');
  assert.equal(await page.title(), '批量导入成绩');
  assert.equal(await activeId(), 'numbersmemo');
  await page.fill('#tablememo', '考号\t语文\t数学\n805\t61\t62.5\n');
  await b.submitBy('#tablebutton');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '操作成功！写入2个成绩，删除0个，未变0个' });
  assert.equal(await page.inputValue('#tablememo'), '');
  await page.fill('#tablememo', '考号\t物理\n805\t61\n');
  await b.submitBy('#tablebutton');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '首行的列名“物理”不是考号，也不是已设置的科目' });
  assert.equal(await page.inputValue('#tablememo'), '考号\t物理\n805\t61');
});

// Scores typed into the grid but not saved: the page's own back link asks first (declined, the
// typed score stays), a reload gets the browser's leave prompt; once saved, leaving asks nothing.
test('leaving the grid with typed scores asks first', async () => {
  const { page, dialogs } = b;
  await signIn('boss');
  await b.submitBy('#gridmodelink');
  await loadClass('数学');
  await page.click('#scorebox4');
  await page.keyboard.press('Control+A');
  await page.keyboard.type('66');

  b.answerConfirm = false;
  await page.click('#backlink');
  b.answerConfirm = true;
  assert.deepEqual(dialogs.pop(), {
    type: 'confirm', message: '表格中有尚未保存的成绩，确定要离开本页吗？',
  });
  assert.equal(await page.title(), '表格录入');
  assert.equal(await page.inputValue('#scorebox4'), '66');

  await page.reload();
  await page.waitForFunction(() => document.title === '表格录入');
  await b.settled();
  assert.equal(dialogs.pop()?.type, 'beforeunload');

  await page.click('#scorebox4');
  await page.keyboard.press('Control+A');
  await page.keyboard.type('66');
  await b.submitBy('#savebutton');
  assert.match(dialogs.pop().message, /^已保存：写入\d+个成绩，删除\d+个，未变\d+个$/);
  await b.submitBy('#backlink');
  assert.equal(await page.title(), '成绩录入');
  assert.deepEqual(dialogs, []);
});

// 取消 empties the grid: with typed scores it asks first (declined, the typed score stays;
// accepted, the grid is emptied and nothing saved); with nothing typed it asks nothing.
test('取消 on the grid asks before typed scores are dropped', async () => {
  const { page, dialogs } = b;
  await signIn('boss');
  await b.submitBy('#gridmodelink');
  await loadClass('数学');
  await b.submitBy('#cancelbutton');
  assert.deepEqual(dialogs, []);
  assert.equal(await page.isDisabled('#loadbutton'), false);

  await loadClass('数学');
  const stored = await page.inputValue('#scorebox4');
  await page.click('#scorebox4');
  await page.keyboard.press('Control+A');
  await page.keyboard.type('67');
  b.answerConfirm = false;
  await page.click('#cancelbutton');
  b.answerConfirm = true;
  assert.deepEqual(dialogs.pop(), {
    type: 'confirm', message: '表格中有尚未保存的成绩，确定要取消吗？',
  });
  assert.equal(await page.inputValue('#scorebox4'), '67');
  assert.equal(await page.isDisabled('#savebutton'), false);

  await b.submitBy('#cancelbutton');
  assert.deepEqual(dialogs.pop(), {
    type: 'confirm', message: '表格中有尚未保存的成绩，确定要取消吗？',
  });
  assert.equal(await page.isDisabled('#loadbutton'), false);
  assert.equal(await page.isDisabled('#savebutton'), true);
  await loadClass('数学');
  assert.equal(await page.inputValue('#scorebox4'), stored);
  assert.deepEqual(dialogs, []);
});
